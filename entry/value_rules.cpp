// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/value_rules.h"

#include "core/number_text.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Why a value that must be a number is none: not a number, empty, or beyond
// the double range, in the same words as everywhere else.
std::string NotANumber(const std::string& text, const NumberReading& reading, const std::string& what) {
    return NotANumberMessage(text, reading, what) + "。请输入一个数值。";
}

std::string BeyondSingleRefusal(const std::string& text, const std::string& what) {
    return what + Quoted(text) + "太大, 超出单精度数值的范围 ( 溢出 ) 。";
}

// The minutes (first) and the seconds (second) of a packed angle as typed:
// the two digits after the point and the two after those, a missing digit
// counting as 0 ("6" after the point is 60 minutes, as 45.60 is).  Nothing
// for a value with an exponent or without a point.
struct PackedDigits {
    int minutes = 0, seconds = 0;
    bool secondsTyped = false;
};
std::optional<PackedDigits> DigitsOf(const std::string& text) {
    // One look at each character finds the point and any exponent (every
    // angle of every run passes here).
    std::size_t point = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 'e' || text[i] == 'E') return std::nullopt;
        if (text[i] == '.' && point == std::string::npos) point = i;
    }
    if (point == std::string::npos) return std::nullopt;
    int digits[4] = {0, 0, 0, 0};
    std::size_t count = 0;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++count) {
        if (count < 4) digits[count] = text[i] - '0';
    }
    return PackedDigits{digits[0] * 10 + digits[1], digits[2] * 10 + digits[3], count > 2};
}

bool KeepsPackedDigits(const std::optional<PackedDigits>& d) {
    return !d || (d->minutes < 60 && !(d->secondsTyped && d->seconds >= 60));
}

std::string CodePoint(unsigned value) {
    constexpr const char* kHex = "0123456789ABCDEF";
    std::string text = "U+0000";
    for (int i = 5; i >= 2; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kHex[value & 0xF];
    return text;
}

// The text with each control character shown as <U+0009>, so that the
// message shows what was typed without breaking its own line.
std::string Visible(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if (byte < 0x20 || byte == 0x7F) {
            out += "<" + CodePoint(byte) + ">";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += "<" + CodePoint(next) + ">";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> ControlCharacterIn(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return CodePoint(byte);
        // C1 in UTF-8: C2 80 .. C2 9F
        if (byte == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) return CodePoint(next);
        }
    }
    return std::nullopt;
}

Refusal CheckPointName(const std::string& text, int point) {
    const std::optional<std::string> control = ControlCharacterIn(text);
    if (!control) return std::nullopt;
    return std::string(1, "ABCD"[point & 3]) + " 点的点名" + Quoted(Visible(text)) + "含有控制字符 " +
           *control +
           ": 点名只能是看得见的文字, 不能含有制表符、换行等控制字符 ( U+0000 至 U+001F、U+007F 至 U+009F ) "
           "。";
}

std::string AngleName(int i) { return "第 " + std::to_string(i) + " 个观测角"; }
std::string SideName(int i) { return "第 " + std::to_string(i) + " 条边长"; }

Refusal CheckPackedDigits(const std::string& text, const std::string& what) {
    const std::optional<PackedDigits> d = DigitsOf(text);
    if (KeepsPackedDigits(d)) return std::nullopt;
    const bool minutes = d->minutes >= 60;
    return what + Quoted(text) + (minutes ? "的分是 " : "的秒是 ") +
           std::to_string(minutes ? d->minutes : d->seconds) +
           ": 角度按 度.分秒 输入, 小数点后头两位是分, 其后是秒, 分和秒都必须小于 60"
           " ( 例如 45.5959 表示 45 度 59 分 59 秒 ) 。";
}

Refusal CheckTolerance(const std::string& text) {
    const std::string what = "规范测角限差";
    const NumberReading reading = ReadNumber(text);
    if (!reading.IsNumber()) return NotANumber(text, reading, what);
    if (!(reading.value > 0)) return what + Quoted(text) + "必须大于 0 ( 以秒为单位 ) 。";
    if (!FitsSingle(reading.value)) return BeyondSingleRefusal(text, what);
    return std::nullopt;
}

Refusal CheckCoordinate(const std::string& text, const NumberReading& reading, const char* what) {
    if (!reading.IsNumber()) return NotANumber(text, reading, what);
    return std::nullopt;
}

Refusal CheckAzimuthT0(const std::string& text, const NumberReading& reading) {
    const char* what = "外方位角 T0";
    if (!reading.IsNumber()) return NotANumber(text, reading, what);
    if (Refusal refusal = CheckPackedDigits(text, what)) return refusal;
    const double t0 = reading.value;
    if (!(t0 >= 0 && t0 < 360)) {
        return what + Quoted(text) + "必须在 0 度到 360 度之间 ( 0 ≤ T0 < 360 ) 。";
    }
    return std::nullopt;
}

Refusal CheckOrientationQ1(const std::string& text, const NumberReading& reading) {
    const char* what = "定向角 Q1";
    if (!reading.IsNumber()) return NotANumber(text, reading, what);
    if (Refusal refusal = CheckPackedDigits(text, what)) return refusal;
    const double q1 = reading.value;
    if (!(q1 > -360 && q1 < 360)) {
        return what + Quoted(text) + "必须在 -360 度到 360 度之间 ( -360 < Q1 < 360 ) 。";
    }
    return std::nullopt;
}

Refusal CheckObservedAngle(const std::string& text, const NumberReading& reading, int i) {
    if (!reading.IsNumber()) return NotANumber(text, reading, AngleName(i));
    if (!KeepsPackedDigits(DigitsOf(text))) return CheckPackedDigits(text, AngleName(i));
    // An angle of a triangle lies strictly between 0 and 180 degrees.
    const double degrees = PackedToDegrees(reading.value);
    if (!(degrees > 0 && degrees < 180)) {
        return AngleName(i) + Quoted(text) + "必须大于 0 度且小于 180 度。";
    }
    return std::nullopt;
}

Refusal CheckObservedSide(const std::string& text, const NumberReading& reading, int i) {
    if (!reading.IsNumber()) return NotANumber(text, reading, SideName(i));
    if (!(reading.value > 0)) return SideName(i) + Quoted(text) + "必须大于 0 ( 以米为单位 ) 。";
    if (!FitsSingle(reading.value)) return BeyondSingleRefusal(text, SideName(i));
    return std::nullopt;
}

Refusal CheckHalfZeroD(const std::string& xd, const std::string& yd) {
    if (ReadsAsZero(xd) == ReadsAsZero(yd)) return std::nullopt;
    return "已知点 D 的座标只有一个输入了零 ( xd=" + xd + " , yd=" + yd +
           " ) 。纵座标和横座标都输入零 ( 即:xd=0 , yd=0 ) 表示 D 点不是已知点; "
           "两个都不为零表示 D 点是已知点。请重新进行计算。";
}

Refusal CheckFigureValue(FigureValue value, int number, const std::string& text,
                         const NumberReading& reading) {
    switch (value) {
        case FigureValue::Tolerance:
            return CheckTolerance(text);
        case FigureValue::XOfA:
            return CheckCoordinate(text, reading, "已知点 A 的纵座标");
        case FigureValue::YOfA:
            return CheckCoordinate(text, reading, "已知点 A 的横座标");
        case FigureValue::XOfD:
            return CheckCoordinate(text, reading, "已知点 D 的纵座标");
        case FigureValue::YOfD:
            return CheckCoordinate(text, reading, "已知点 D 的横座标");
        case FigureValue::AzimuthT0:
            return CheckAzimuthT0(text, reading);
        case FigureValue::OrientationQ1:
            return CheckOrientationQ1(text, reading);
        case FigureValue::PointName:
            return CheckPointName(text, number);
        case FigureValue::ObservedAngle:
            return CheckObservedAngle(text, reading, number);
        case FigureValue::ObservedSide:
            return CheckObservedSide(text, reading, number);
    }
    return std::nullopt;
}

Refusal CheckFigureValue(FigureValue value, int number, const std::string& text) {
    return CheckFigureValue(value, number, text, ReadNumber(text));
}

}  // namespace korvanet
