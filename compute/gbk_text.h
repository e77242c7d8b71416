// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Chinese text for the programs of the drawing office that read GBK (code
// page 936): CASS's coordinate file, and the DXF drawing that declares
// ANSI_936 for AutoCAD and the CAD programs that follow it.

#include <string>
#include <string_view>

namespace korvanet {

// The UTF-8 text in GBK, by the C library's iconv.  Throws an InputError
// naming `what` ("点名「望江楼」") when a character has no GBK code: nothing is
// replaced by '?' behind the surveyor's back.
std::string GbkText(std::string_view utf8, std::string_view what);

}  // namespace korvanet
