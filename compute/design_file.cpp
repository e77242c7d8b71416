// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/design_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <vector>

#include "adjust/quadrilateral.h"
#include "compute/job_text.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "core/number_text.h"
#include "entry/value_rules.h"

namespace korvanet {
namespace {

constexpr const auto& kLetters = quadrilateral::kPointLetters;

[[noreturn]] void Refuse(int line, const std::string& why) {
    throw InputError("设计文件第 " + std::to_string(line) + " 行: " + why);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

double Number(int line, const std::string& text, const std::string& what) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) Refuse(line, what + "不是数字: \"" + text + "\"");
    return r.value;
}

int LetterOf(const std::string& word) {
    for (int p = 0; p < 4; ++p)
        if (word == kLetters[p] || word == std::string(1, static_cast<char>('a' + p))) return p;
    return -1;
}

}  // namespace

std::optional<std::string> CheckDesignPointName(const std::string& name, int point) {
    const std::string what = std::string(kLetters[point & 3]) + " 点的点名";
    if (name.empty()) return what + "是空的: 设计的每个点都要有点名。";
    if (const Refusal refusal = CheckPointName(name, point)) return refusal;
    if (name.find_first_of(" #") != std::string::npos || name.find("\xC2\xA0") != std::string::npos ||
        name.find("\xE3\x80\x80") != std::string::npos) {
        return what + "\"" + name + "\"含有空格或 #: 设计文件中点名是一个词, 不能含有空格, # 之后是注释。";
    }
    return std::nullopt;
}

Design ReadDesignFile(const std::string& text) {
    std::string body = text;
    if (body.rfind("\xEF\xBB\xBF", 0) == 0) body.erase(0, 3);  // the byte order mark of Windows editors
    const std::vector<std::string> lines = SplitJobLines(body);
    Design design;
    std::optional<int> toleranceLine;
    std::array<int, 4> pointLine{};  // 0: not given
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const std::vector<std::string> w = Words(lines[i]);
        if (w.empty()) continue;
        if (w[0] == "tolerance" || w[0] == "限差") {
            if (toleranceLine)
                Refuse(n, "测角中误差 σ0 已在第 " + std::to_string(*toleranceLine) + " 行给出");
            if (w.size() != 2) Refuse(n, "应为 \"tolerance 秒数\"");
            if (const Refusal refusal = CheckTolerance(w[1])) Refuse(n, *refusal);
            design.tolerance = Number(n, w[1], "测角中误差 σ0");
            toleranceLine = n;
            continue;
        }
        const int p = LetterOf(w[0]);
        if (p < 0) Refuse(n, "不认识的行 \"" + w[0] + "\": 应为 tolerance 或 A, B, C, D 点");
        const std::string letter = kLetters[p];
        if (pointLine[p] != 0) Refuse(n, letter + " 点已在第 " + std::to_string(pointLine[p]) + " 行给出");
        const bool known = w.size() == 5 && w[4] == "known";
        if (w.size() != 4 && !known) Refuse(n, "应为 \"" + letter + " 点名 纵座标x 横座标y [known]\"");
        if (known && (p == 1 || p == 2)) Refuse(n, letter + " 点是待定点, 不能是已知点 (known)");
        DesignPoint& point = design.points[p];
        if (const auto refusal = CheckDesignPointName(w[1], p)) Refuse(n, *refusal);
        point.name = w[1];
        point.x = Number(n, w[2], letter + " 点的纵座标");
        point.y = Number(n, w[3], letter + " 点的横座标");
        if (p == 3) design.dKnown = known;
        if (p == 3 && known && (point.x == 0 || point.y == 0))
            Refuse(n, "已知点 D 的座标不能为零 (作业中座标为零表示 D 不是已知点)");
        pointLine[p] = n;
    }
    const int last = static_cast<int>(lines.size());
    if (!toleranceLine) Refuse(last, "文件结束, 缺少测角中误差 σ0 (tolerance 秒数)");
    for (int p = 0; p < 4; ++p)
        if (pointLine[p] == 0) Refuse(last, std::string("文件结束, 缺少 ") + kLetters[p] + " 点");
    if (const auto problem = CheckDesignFigure(design)) {
        // A problem of one point names that point's line; one of the whole
        // figure the line of the last point read.
        int line = 0;
        if (problem->point) {
            line = pointLine[*problem->point];
        } else {
            for (int l : pointLine) line = std::max(line, l);
        }
        Refuse(line, problem->message);
    }
    return design;
}

std::string DesignFileText(const Design& design) {
    // A name the file could not keep (one from a job may hold a blank) is
    // refused here, so that nothing written fails to read back.
    for (int p = 0; p < 4; ++p)
        if (const auto refusal = CheckDesignPointName(design.points[p].name, p)) throw InputError(*refusal);
    std::string text = "# 精度估算: 设计的大地四边形 (x 纵座标, y 横座标, 米)\n";
    text += "tolerance " + ShortestText(design.tolerance) + "\n";
    for (int p = 0; p < 4; ++p) {
        const DesignPoint& point = design.points[p];
        const bool known = p == 0 || (p == 3 && design.dKnown);
        text += std::string(kLetters[p]) + " " + point.name + " " + DesignCoordinateText(point.x) + " " +
                DesignCoordinateText(point.y) + (known ? " known" : "") + "\n";
    }
    return text;
}

std::string DesignCoordinateText(double metres) { return ShortestText(metres); }

double DesignCoordinateToTenthMm(double metres) { return ReadNumber(FixedText(metres, 4)).value; }

}  // namespace korvanet
