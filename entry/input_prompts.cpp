// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/input_prompts.h"

#include <stdexcept>
#include <vector>

#include "core/form_boxes.h"

namespace korvanet {
namespace {

// `subject` names the value in both confirmation prompts.
ConfirmedInstance Instance(std::string valuePrompt, std::string title, std::string correctionPrompt,
                           const std::string& subject, std::string box, DisplayPattern pattern) {
    ConfirmedInstance instance;
    instance.valuePrompt = std::move(valuePrompt);
    instance.title = std::move(title);
    instance.correctionPrompt = std::move(correctionPrompt);
    instance.firstConfirmation = FirstConfirmationPrompt(subject);
    instance.secondConfirmation = SecondConfirmationPrompt(subject);
    instance.box = std::move(box);
    instance.pattern = pattern;
    return instance;
}

ConfirmedInstance PointName(int point) {
    switch (point) {
        case 0:
            return Instance("输入 A 点的点名 :", "", "输入 A 点正确的点名 :", "输入的 A 点的点名",
                            boxes::kPointTable[0].name, DisplayPattern::None);
        case 1:
            return Instance("输入待定点 B 点的点名 :", "", "输入 B 点正确的点名 :", "输入的待定点 B 点的点名",
                            boxes::kPointTable[1].name, DisplayPattern::None);
        case 2:
            return Instance("输入待定点 C 点的点名 :", "", "输入 C 点正确的点名 :", "输入的待定点 C 点的点名",
                            boxes::kPointTable[2].name, DisplayPattern::None);
        default: {
            // Only the confirmation of a corrected name calls D a point to be
            // determined ("待定点"); the first one does not.
            ConfirmedInstance instance =
                Instance("输入 D 点的点名 :", "", "输入 D 点正确的点名 :", "输入的 D 点的点名",
                         boxes::kPointTable[3].name, DisplayPattern::None);
            instance.secondConfirmation = SecondConfirmationPrompt("输入的待定点 D 点的点名");
            return instance;
        }
    }
}

ConfirmedInstance ObservedAngle(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 个观测角值 :", "",
                    "输入第 " + n + " 个观测角正确的数值 :", "输入的观测角值", boxes::ObservedAngle(i),
                    DisplayPattern::FiveDecimals);
}

ConfirmedInstance ObservedSide(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 条边长观测值 :", "",
                    "输入第 " + n + " 条边长正确的观测数值 :", "输入的边长观测值", boxes::ObservedSide(i),
                    DisplayPattern::ThreeDecimals);
}

// Instances first..last of a numbered value, the first at 0.
std::vector<ConfirmedInstance> Numbered(int first, int last, ConfirmedInstance (*build)(int)) {
    std::vector<ConfirmedInstance> instances;
    for (int i = first; i <= last; ++i) instances.push_back(build(i));
    return instances;
}

}  // namespace

// The prompts are the same on every run: each is built the first time it is
// asked for.
const ConfirmedInstance& XOfAInstance() {
    static const ConfirmedInstance instance =
        Instance("输入已知点 A 的纵座标 :", "", "输入已知点 A 正确的纵座标 :", "输入的已知点 A 的纵座标",
                 boxes::kXOfA, DisplayPattern::ThreeDecimals);
    return instance;
}

const ConfirmedInstance& YOfAInstance() {
    static const ConfirmedInstance instance = [] {
        ConfirmedInstance y =
            Instance("输入已知点 A 的横座标 :", "", "输入已知点 A 正确的横座标 :", "输入的已知点 A 的横座标",
                     boxes::kYOfA, DisplayPattern::ThreeDecimals);
        y.firstDisplayUnformatted = true;
        return y;
    }();
    return instance;
}

const ConfirmedInstance& XOfDInstance() {
    static const ConfirmedInstance instance =
        Instance("输入已知点 D 的纵座标 :  如果 D 点不是已知点, 纵座标输入零 ( 即:xd=0 )", "",
                 "输入已知点 D 正确的纵座标 :", "输入的已知点 D 的纵座标", boxes::kXOfD,
                 DisplayPattern::ThreeDecimals);
    return instance;
}

const ConfirmedInstance& YOfDInstance() {
    static const ConfirmedInstance instance =
        Instance("输入已知点 D 的横座标 :  如果 D 点不是已知点, 横座标输入零 ( 即:yd=0 )", "",
                 "输入已知点 D 正确的横座标 :", "输入的已知点 D 的横座标", boxes::kYOfD,
                 DisplayPattern::ThreeDecimals);
    return instance;
}

const ConfirmedInstance& AzimuthT0Instance() {
    static const ConfirmedInstance instance =
        Instance("输入位于 A 点的外方位角 :", "已知外方位角", "输入正确的外方位角 :", "输入的外方位角",
                 boxes::kAzimuthT0, DisplayPattern::FiveDecimals);
    return instance;
}

const ConfirmedInstance& OrientationQ1Instance() {
    static const ConfirmedInstance instance = Instance(
        "输入外方向至 S1 边的定向角 Q1 :  如果定向角不在 S1 边, Q1 输入零 ( 即:Q1=0 )", "已知外定向角",
        "输入正确的定向角 Q1 :", "输入的定向角 Q1 ", boxes::kOrientationQ1, DisplayPattern::FiveDecimals);
    return instance;
}

const ConfirmedInstance& PointNameInstance(int point) {
    static const std::vector<ConfirmedInstance> instances = Numbered(0, 3, PointName);
    if (point < 0 || point > 3) throw std::out_of_range("point name index " + std::to_string(point));
    return instances[static_cast<std::size_t>(point)];
}

const ConfirmedInstance& ObservedAngleInstance(int i) {
    static const std::vector<ConfirmedInstance> instances = Numbered(1, 8, ObservedAngle);
    return instances.at(static_cast<std::size_t>(i - 1));
}

const ConfirmedInstance& ObservedSideInstance(int i) {
    static const std::vector<ConfirmedInstance> instances = Numbered(1, 6, ObservedSide);
    return instances.at(static_cast<std::size_t>(i - 1));
}

}  // namespace korvanet
