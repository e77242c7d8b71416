#include "value_rules.h"

#include <cmath>

#include "korvanet_error.h"
#include "number_text.h"
#include "packed_angle.h"

namespace korvanet {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A single-precision field holds about 3.4e38 at most.
Refusal BeyondSingle(const std::string& text, double value, const std::string& what) {
    try {
        SingleOrThrow(value, what);
    } catch (const InputError&) {
        return what + Quoted(text) + "太大, 超出单精度数值的范围 ( 溢出 ) 。";
    }
    return std::nullopt;
}

// The number a value must be, or why it is none: not a number, empty, or
// beyond the double range (the same words as everywhere else).
Refusal NotANumber(const std::string& text, const std::string& what) {
    try {
        NumberOrThrow(text, what);
    } catch (const InputError& e) {
        return std::string(e.what()) + "。请输入一个数值。";
    }
    return std::nullopt;
}

double Number(const std::string& text) { return ReadNumber(text).value; }

// Two digits of a packed angle's fraction starting at `from`, a missing one
// counting as 0: "6" after the point is 60 minutes, as 45.60 is.
int TwoDigits(const std::string& fraction, std::size_t from) {
    int value = 0;
    for (std::size_t i = from; i < from + 2; ++i) {
        value = value * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    return value;
}

}  // namespace

Refusal CheckPackedDigits(const std::string& text, const std::string& what) {
    if (text.find_first_of("eE") != std::string::npos) return std::nullopt;
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return std::nullopt;
    std::string fraction;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        fraction += text[i];
    }
    const std::string rule = "角度按 度.分秒 输入, 小数点后头两位是分, 其后是秒, 分和秒都必须小于 60";
    if (TwoDigits(fraction, 0) >= 60) {
        return what + Quoted(text) + "的分是 " + std::to_string(TwoDigits(fraction, 0)) + ": " + rule +
               " ( 例如 45.5959 表示 45 度 59 分 59 秒 ) 。";
    }
    if (fraction.size() > 2 && TwoDigits(fraction, 2) >= 60) {
        return what + Quoted(text) + "的秒是 " + std::to_string(TwoDigits(fraction, 2)) + ": " + rule +
               " ( 例如 45.5959 表示 45 度 59 分 59 秒 ) 。";
    }
    return std::nullopt;
}

Refusal CheckTolerance(const std::string& text) {
    const std::string what = "规范测角限差";
    if (Refusal refusal = NotANumber(text, what)) return refusal;
    const double seconds = Number(text);
    if (!(seconds > 0)) return what + Quoted(text) + "必须大于 0 ( 以秒为单位 ) 。";
    return BeyondSingle(text, seconds, what);
}

Refusal CheckCoordinate(const std::string& text, const std::string& what) { return NotANumber(text, what); }

Refusal CheckAzimuthT0(const std::string& text) {
    const std::string what = "外方位角 T0";
    if (Refusal refusal = NotANumber(text, what)) return refusal;
    if (Refusal refusal = CheckPackedDigits(text, what)) return refusal;
    const double t0 = Number(text);
    if (!(t0 >= 0 && t0 < 360)) return what + Quoted(text) + "必须在 0 度到 360 度之间 ( 0 ≤ T0 < 360 ) 。";
    return std::nullopt;
}

Refusal CheckOrientationQ1(const std::string& text) {
    const std::string what = "定向角 Q1";
    if (Refusal refusal = NotANumber(text, what)) return refusal;
    if (Refusal refusal = CheckPackedDigits(text, what)) return refusal;
    const double q1 = Number(text);
    if (!(q1 > -360 && q1 < 360)) {
        return what + Quoted(text) + "必须在 -360 度到 360 度之间 ( -360 < Q1 < 360 ) 。";
    }
    return std::nullopt;
}

Refusal CheckObservedAngle(const std::string& text, int i) {
    const std::string what = "第 " + std::to_string(i) + " 个观测角";
    if (Refusal refusal = NotANumber(text, what)) return refusal;
    if (Refusal refusal = CheckPackedDigits(text, what)) return refusal;
    // An angle of a triangle lies strictly between 0 and 180 degrees.
    const double degrees = PackedToDegrees(Number(text));
    if (!(degrees > 0 && degrees < 180)) {
        return what + Quoted(text) + "必须大于 0 度且小于 180 度。";
    }
    return std::nullopt;
}

Refusal CheckObservedSide(const std::string& text, int i) {
    const std::string what = "第 " + std::to_string(i) + " 条边长";
    if (Refusal refusal = NotANumber(text, what)) return refusal;
    const double metres = Number(text);
    if (!(metres > 0)) return what + Quoted(text) + "必须大于 0 ( 以米为单位 ) 。";
    return BeyondSingle(text, metres, what);
}

}  // namespace korvanet
