// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/input_prompts.h"

#include <stdexcept>

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

}  // namespace

ConfirmedInstance XOfAInstance() {
    return Instance("输入已知点 A 的纵座标 :", "", "输入已知点 A 正确的纵座标 :", "输入的已知点 A 的纵座标",
                    "Text1", DisplayPattern::ThreeDecimals);
}

ConfirmedInstance YOfAInstance() {
    ConfirmedInstance instance =
        Instance("输入已知点 A 的横座标 :", "", "输入已知点 A 正确的横座标 :", "输入的已知点 A 的横座标",
                 "Text2", DisplayPattern::ThreeDecimals);
    instance.firstDisplayUnformatted = true;
    return instance;
}

ConfirmedInstance XOfDInstance() {
    return Instance("输入已知点 D 的纵座标 :  如果 D 点不是已知点, 纵座标输入零 ( 即:xd=0 )", "",
                    "输入已知点 D 正确的纵座标 :", "输入的已知点 D 的纵座标", "Text3",
                    DisplayPattern::ThreeDecimals);
}

ConfirmedInstance YOfDInstance() {
    return Instance("输入已知点 D 的横座标 :  如果 D 点不是已知点, 横座标输入零 ( 即:yd=0 )", "",
                    "输入已知点 D 正确的横座标 :", "输入的已知点 D 的横座标", "Text4",
                    DisplayPattern::ThreeDecimals);
}

ConfirmedInstance AzimuthT0Instance() {
    return Instance("输入位于 A 点的外方位角 :", "已知外方位角", "输入正确的外方位角 :", "输入的外方位角",
                    "Text5", DisplayPattern::FiveDecimals);
}

ConfirmedInstance OrientationQ1Instance() {
    return Instance("输入外方向至 S1 边的定向角 Q1 :  如果定向角不在 S1 边, Q1 输入零 ( 即:Q1=0 )",
                    "已知外定向角", "输入正确的定向角 Q1 :", "输入的定向角 Q1 ", "Text6",
                    DisplayPattern::FiveDecimals);
}

ConfirmedInstance PointNameInstance(int point) {
    switch (point) {
        case 0:
            return Instance("输入 A 点的点名 :", "", "输入 A 点正确的点名 :", "输入的 A 点的点名", "Text40",
                            DisplayPattern::None);
        case 1:
            return Instance("输入待定点 B 点的点名 :", "", "输入 B 点正确的点名 :", "输入的待定点 B 点的点名",
                            "Text43", DisplayPattern::None);
        case 2:
            return Instance("输入待定点 C 点的点名 :", "", "输入 C 点正确的点名 :", "输入的待定点 C 点的点名",
                            "Text46", DisplayPattern::None);
        case 3: {
            // Only the confirmation of a corrected name calls D a point to be
            // determined ("待定点"); the first one does not.
            ConfirmedInstance instance =
                Instance("输入 D 点的点名 :", "", "输入 D 点正确的点名 :", "输入的 D 点的点名", "Text49",
                         DisplayPattern::None);
            instance.secondSubject = "输入的待定点 D 点的点名";
            return instance;
        }
        default:
            throw std::out_of_range("point name index " + std::to_string(point));
    }
}

ConfirmedInstance ObservedAngleInstance(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 个观测角值 :", "",
                    "输入第 " + n + " 个观测角正确的数值 :", "输入的观测角值", ArrayBox("Text9", i - 1),
                    DisplayPattern::FiveDecimals);
}

ConfirmedInstance ObservedSideInstance(int i) {
    const std::string n = std::to_string(i);
    return Instance("按示意图依次输入第 " + n + " 条边长观测值 :", "",
                    "输入第 " + n + " 条边长正确的观测数值 :", "输入的边长观测值", ArrayBox("Text10", i - 1),
                    DisplayPattern::ThreeDecimals);
}

}  // namespace korvanet
