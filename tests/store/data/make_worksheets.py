#!/usr/bin/python3
"""Writes the small ".xls" workbooks the worksheet import tests read.

Run from this folder with Debian's python3-xlwt:  /usr/bin/python3 make_worksheets.py
"""
import datetime

import xlwt

TIME = xlwt.easyxf(num_format_str="h:mm:ss")
DATE = xlwt.easyxf(num_format_str="dd-mm-yyyy")
DATETIME = xlwt.easyxf(num_format_str="dd-mm-yyyy hh:mm")


def lesson():
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Lesson")
    sheet.write(0, 0, "time")
    sheet.write(0, 1, "actor")
    sheet.write(0, 2, "text")
    sheet.write(0, 3, "seq")
    rows = [
        (datetime.time(10, 0, 0), "Anna", "Shall we go?", 1),
        (datetime.time(10, 0, 5), "Bo", "Wait for me", 2),
        (datetime.time(12, 30, 0), "Café", "Déjà vu", 1),
    ]
    for r, (t, actor, text, seq) in enumerate(rows, start=1):
        sheet.write(r, 0, t, TIME)
        sheet.write(r, 1, actor)
        sheet.write(r, 2, text)
        sheet.write(r, 3, seq)
    sheet.write(4, 0, datetime.datetime(2023, 3, 15, 18, 0), DATETIME)
    sheet.write(4, 1, 2.5)
    sheet.write(4, 2, datetime.date(2024, 2, 29), DATE)
    sheet.write(4, 3, "seven")
    notes = book.add_sheet("Notes")
    notes.write(0, 0, "only a note")
    book.save("lesson.xls")


def empty():
    book = xlwt.Workbook(encoding="utf-8")
    book.add_sheet("Blank")
    book.save("empty.xls")


if __name__ == "__main__":
    lesson()
    empty()
