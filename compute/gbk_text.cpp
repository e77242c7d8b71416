// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <string>

#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// One conversion descriptor for one call; closed however the call ends.
class Conversion {
public:
    Conversion() : cd_(iconv_open("GBK", "UTF-8")) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw KorvanetError("本系统的 C 库不能转换到 GBK 编码。");
    }
    ~Conversion() { iconv_close(cd_); }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// The character at `at` in quotes, when it is a whole UTF-8 character;
// nothing for a broken byte sequence.
std::string Quoted(const char* at, const char* end) {
    const auto lead = static_cast<unsigned char>(*at);
    const std::ptrdiff_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (lead < 0xC0 || end - at < length) return "";
    return "「" + std::string(at, static_cast<std::size_t>(length)) + "」";
}

}  // namespace

std::string GbkText(std::string_view utf8, std::string_view what) {
    Conversion conversion;
    std::string in(utf8);
    // A GBK character takes at most as many bytes as its UTF-8 form.
    std::string out(in.size(), '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size(), room = out.size();
    if (iconv(conversion.get(), &from, &left, &to, &room) == static_cast<std::size_t>(-1)) {
        if (errno != EILSEQ && errno != EINVAL) throw InputError(std::string(what) + "不能转换成 GBK 编码。");
        throw InputError(std::string(what) + "含有 GBK 编码里没有的字符" +
                         Quoted(from, in.data() + in.size()) + "，GBK 的文件写不出它：请改用 GBK 里有的字。");
    }
    out.resize(out.size() - room);
    return out;
}

}  // namespace korvanet
