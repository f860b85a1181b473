#include "store/record.h"

namespace core {

std::string* TextField(ProtocolRecord& r, int k) {
    switch (k) {
        case 1:
            return &r.V1;
        case 3:
            return &r.V3;
        case 4:
            return &r.V4;
        case 5:
            return &r.V5;
        case 6:
            return &r.V6;
        case 7:
            return &r.V7;
        case 8:
            return &r.V8;
        default:
            return nullptr;
    }
}

const std::string* TextField(const ProtocolRecord& r, int k) {
    return TextField(const_cast<ProtocolRecord&>(r), k);
}

}  // namespace core
