#include "toolkit/DialogTemplate.h"

namespace toolkit {
namespace {

void Put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v & 0xFF);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v) {
    Put16(at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(at + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

EmptyDialogTemplate MakeEmptyDialogTemplate() {
    EmptyDialogTemplate t;
    std::uint8_t* p = t.bytes.data();
    Put32(p + 0, kEmptyDialogStyle);  // style
    Put32(p + 4, 0);                  // extended style
    Put16(p + 8, 0);                  // number of controls
    Put16(p + 10, 0);                 // x
    Put16(p + 12, 0);                 // y
    Put16(p + 14, 0);                 // cx
    Put16(p + 16, 0);                 // cy
    Put16(p + 18, 0);                 // menu: none
    Put16(p + 20, 0);                 // class: the predefined dialog class
    Put16(p + 22, 0);                 // title: empty
    return t;
}

}  // namespace toolkit
