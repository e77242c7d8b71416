// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/input_prompts.h"

#include <array>
#include <stdexcept>

#include "core/form_boxes.h"

namespace korvanet {
namespace {

ConfirmedInstance Instance(std::string valuePrompt, std::string title, std::string correctionPrompt,
                           std::string subject, std::string box, DisplayPattern pattern) {
    ConfirmedInstance instance;
    instance.valuePrompt = std::move(valuePrompt);
    instance.title = std::move(title);
    instance.correctionPrompt = std::move(correctionPrompt);
    instance.secondSubject = subject;
    instance.subject = std::move(subject);
    instance.box = std::move(box);
    instance.pattern = pattern;
    return instance;
}

ConfirmedInstance BuildXOfAInstance() {
    return Instance("输入已知点 A 的纵座标 :", "", "输入已知点 A 正确的纵座标 :", "输入的已知点 A 的纵座标",
                    boxes::kXOfA, DisplayPattern::ThreeDecimals);
}

ConfirmedInstance BuildYOfAInstance() {
    ConfirmedInstance instance =
        Instance("输入已知点 A 的横座标 :", "", "输入已知点 A 正确的横座标 :", "输入的已知点 A 的横座标",
                 boxes::kYOfA, DisplayPattern::ThreeDecimals);
    instance.firstDisplayUnformatted = true;
    return instance;
}

ConfirmedInstance BuildXOfDInstance() {
    return Instance("输入已知点 D 的纵座标 :  如果 D 点不是已知点, 纵座标输入零 ( 即:xd=0 )", "",
                    "输入已知点 D 正确的纵座标 :", "输入的已知点 D 的纵座标", boxes::kXOfD,
                    DisplayPattern::ThreeDecimals);
}

ConfirmedInstance BuildYOfDInstance() {
    return Instance("输入已知点 D 的横座标 :  如果 D 点不是已知点, 横座标输入零 ( 即:yd=0 )", "",
                    "输入已知点 D 正确的横座标 :", "输入的已知点 D 的横座标", boxes::kYOfD,
                    DisplayPattern::ThreeDecimals);
}

ConfirmedInstance BuildAzimuthT0Instance() {
    return Instance("输入位于 A 点的外方位角 :", "已知外方位角", "输入正确的外方位角 :", "输入的外方位角",
                    boxes::kAzimuthT0, DisplayPattern::FiveDecimals);
}

ConfirmedInstance BuildOrientationQ1Instance() {
    return Instance("输入外方向至 S1 边的定向角 Q1 :  如果定向角不在 S1 边, Q1 输入零 ( 即:Q1=0 )",
                    "已知外定向角", "输入正确的定向角 Q1 :", "输入的定向角 Q1 ", boxes::kOrientationQ1,
                    DisplayPattern::FiveDecimals);
}

ConfirmedInstance BuildPointNameInstance(int point) {
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
        case 3: {
            // Only the confirmation of a corrected name calls D a point to be
            // determined ("待定点"); the first one does not.
            ConfirmedInstance instance =
                Instance("输入 D 点的点名 :", "", "输入 D 点正确的点名 :", "输入的 D 点的点名",
                         boxes::kPointTable[3].name, DisplayPattern::None);
            instance.secondSubject = "输入的待定点 D 点的点名";
            return instance;
        }
        default:
            throw std::out_of_range("point name index " + std::to_string(point));
    }
}

ConfirmedInstance BuildObservedAngleInstance(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 个观测角值 :", "",
                    "输入第 " + n + " 个观测角正确的数值 :", "输入的观测角值", boxes::ObservedAngle(i),
                    DisplayPattern::FiveDecimals);
}

ConfirmedInstance BuildObservedSideInstance(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 条边长观测值 :", "",
                    "输入第 " + n + " 条边长正确的观测数值 :", "输入的边长观测值", boxes::ObservedSide(i),
                    DisplayPattern::ThreeDecimals);
}

// Instances 1..count of a numbered value (the angles, the sides).
template <std::size_t count>
std::array<ConfirmedInstance, count> Numbered(ConfirmedInstance (*build)(int)) {
    std::array<ConfirmedInstance, count> instances;
    for (std::size_t i = 0; i < count; ++i)
        instances[i] = WithConfirmationPrompts(build(static_cast<int>(i) + 1));
    return instances;
}

}  // namespace

// The prompts are the same on every run: each is built once, the
// confirmation prompts with it.
const ConfirmedInstance& XOfAInstance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildXOfAInstance());
    return instance;
}

const ConfirmedInstance& YOfAInstance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildYOfAInstance());
    return instance;
}

const ConfirmedInstance& XOfDInstance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildXOfDInstance());
    return instance;
}

const ConfirmedInstance& YOfDInstance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildYOfDInstance());
    return instance;
}

const ConfirmedInstance& AzimuthT0Instance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildAzimuthT0Instance());
    return instance;
}

const ConfirmedInstance& OrientationQ1Instance() {
    static const ConfirmedInstance instance = WithConfirmationPrompts(BuildOrientationQ1Instance());
    return instance;
}

const ConfirmedInstance& PointNameInstance(int point) {
    static const std::array<ConfirmedInstance, 4> instances = {
        WithConfirmationPrompts(BuildPointNameInstance(0)),
        WithConfirmationPrompts(BuildPointNameInstance(1)),
        WithConfirmationPrompts(BuildPointNameInstance(2)),
        WithConfirmationPrompts(BuildPointNameInstance(3))};
    if (point < 0 || point > 3) throw std::out_of_range("point name index " + std::to_string(point));
    return instances[point];
}

const ConfirmedInstance& ObservedAngleInstance(int i) {
    static const auto instances = Numbered<8>(BuildObservedAngleInstance);
    return instances.at(static_cast<std::size_t>(i - 1));
}

const ConfirmedInstance& ObservedSideInstance(int i) {
    static const auto instances = Numbered<6>(BuildObservedSideInstance);
    return instances.at(static_cast<std::size_t>(i - 1));
}

}  // namespace korvanet
