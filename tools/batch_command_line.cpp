// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_command_line.h"

#include <unistd.h>

namespace korvanet {
namespace {

struct FileOption {
    BatchMode mode;
    const char* kind;  // for the message when the file is missing
};

// The modes that write a file named after the option.
std::optional<FileOption> FileMode(const std::string& option) {
    if (option == "--pdf") return FileOption{BatchMode::Pdf, " PDF "};
    if (option == "--svg") return FileOption{BatchMode::Svg, " SVG "};
    if (option == "--html") return FileOption{BatchMode::Html, " HTML "};
    if (option == "--odt") return FileOption{BatchMode::Odt, " ODT "};
    if (option == "--csv") return FileOption{BatchMode::Csv, " CSV "};
    if (option == "--cass") return FileOption{BatchMode::Cass, " CASS 座标"};
    if (option == "--dxf") return FileOption{BatchMode::Dxf, " DXF "};
    if (option == "--gama-xml") return FileOption{BatchMode::GamaXml, " Gama XML "};
    return std::nullopt;
}

}  // namespace

const char* const kBatchUsage =
    "用法: korvanet-batch [--fields | --transcript | --json] 作业文件...\n"
    "      korvanet-batch --pdf PDF文件 作业文件\n"
    "      korvanet-batch --svg SVG文件 作业文件\n"
    "      korvanet-batch --json --class 等级 作业文件...\n"
    "      korvanet-batch (--html | --odt | --csv) 文件 [--class 等级] [--steps] 作业文件\n"
    "      korvanet-batch --design [--json | --svg SVG文件 | --html 文件 | --odt 文件 | --csv 文件]\n"
    "                     [--class 等级] 设计文件...\n"
    "      korvanet-batch --fieldbook [--json | --job | --html 文件 | --odt 文件 | --csv 文件]\n"
    "                     [--class 等级] [--steps] 外业手簿...\n"
    "      korvanet-batch (--cass 文件 [--encoding gbk] | --dxf 文件 | --gama-xml 文件)\n"
    "                     [--design | --fieldbook] 作业文件\n"
    "      korvanet-batch --import [--points A=点号,B=点号,C=点号,D=点号] 仪器数据文件...\n"
    "      korvanet-batch --classes | --version | --help\n"
    "\n"
    "不开窗口运行\"进行计算\"。作业文件是文本文件, 每行一个答案, 顺序同输入提示:\n"
    "测角中误差 σ0 (秒); A 的 x, y; D 的 x, y; D 不是已知点时还有 T0 和 Q1; A, B, C, D 的点名;\n"
    "角 1 至 8; 边 1 至 n。每个确认提示都按回车回答。\n"
    "作业文件可以是 UTF-8 (可带字节顺序标记) 或 GB18030 (GBK) 编码, 行尾可以是 CRLF。\n"
    "\"-\" 表示标准输入, 只能出现一次; \"--\" 之后的参数都是作业文件。\n"
    "\n"
    "  (不带选项)       以文本输出报告\n"
    "  --fields         对计算写过的每个文本框输出 框名=内容\n"
    "  --transcript     输出计算中的对话\n"
    "  --json           以 JSON 输出质量检查, 每个作业一行: 总体检验, 可疑观测值,\n"
    "                   各点的误差椭圆, 各观测值的改正数, 多余观测分量, w 和可靠性,\n"
    "                   边长精度, 相对误差椭圆, 三角形闭合差和最小角\n"
    "  --class 等级     与 --json 或报告一起: 按该等级检核三角形闭合差, 测角中误差,\n"
    "                   最小角, 最弱边和测边相对中误差 (等级表见 --classes)\n"
    "  --classes        列出等级表 (GB 50026-2007 表 3.4.1, GB/T 17942-2000)\n"
    "  --design         给出的是设计文件 (精度估算): 按近似座标和计划的测角中误差估算\n"
    "                   图形观测后的先验精度; 可与 --json, --svg, --class 一起用\n"
    "  --fieldbook      给出的是外业手簿 (.kvf): 归算方向, 角度和边长, 按等级检核限差;\n"
    "                   不带其他选项时输出计算表 (方向观测, 测距归算, 限差检核) 和作业;\n"
    "                   --class 代替手簿中的等级\n"
    "  --job            与 --fieldbook 一起: 输出手簿归算出的作业, 每行一个答案, 可送给\n"
    "                   korvanet-batch -; 手簿不完整时在标准错误上列出还缺什么\n"
    "  --pdf PDF文件    把打印报告写成 PDF 文件 (只能有一个作业文件)\n"
    "  --svg SVG文件    把平差后的图形按比例画成 SVG 文件 (只能有一个作业文件)\n"
    "  --html 文件      把平差报告写成 HTML 文档 (一个文件, 图形在内, 可在浏览器中按 A4 打印)\n"
    "  --odt 文件       把平差报告写成 OpenDocument 文本 (LibreOffice, Word 可打开编辑)\n"
    "  --csv 文件       把平差报告的各表写成一个 CSV 文件 (UTF-8 带字节顺序标记;\n"
    "                   每表前有一行以 \"表\" 开头的表头, 每行第一列为表名)\n"
    "  --cass 文件      把 A, B, C, D 的座标写成 CASS 座标文件 (.dat): 每行 点名,编码,Y,X,H\n"
    "                   (先东后北, 编码空, 米到 0.001, H 取自外业手簿, 没有为 0)\n"
    "  --encoding gbk   与 --cass 一起: 文件用 GBK 编码 (默认 UTF-8)\n"
    "  --dxf 文件       把图形写成 DXF 图 (图层 控制点, 观测边, 误差椭圆, 注记; 单位米)\n"
    "  --gama-xml 文件  把图形写成 GNU Gama (gama-local) 的 XML 输入文件, 可用它另行平差比较\n"
    "  --import         读全站仪数据文件 (徕卡 GSI-8/GSI-16, 国产全站仪文本原始数据,\n"
    "                   点名,x,y[,h] 的 CSV 座标), 输出由它们生成的外业手簿 (.kvf)\n"
    "  --points 对应    与 --import 一起: 文件中的点号对应图形的哪个点, 如 A=K1,B=K2,C=K3,D=K4;\n"
    "                   不给时点号须就是 A, B, C, D\n"
    "  --steps          与 --html, --odt, --csv 一起: 报告中加上计算过程 (条件方程,\n"
    "                   法方程 N k = -w, 联系数, 改正数 v = Q Aᵀ k 和检核)\n"
    "  --version        输出版本号\n"
    "  --help           输出本说明\n"
    "\n"
    "有多个作业文件时, 每个作业都从空白状态算起, 各自的输出前有一行 \"==> 文件名 <==\"\n"
    "(--json 除外: 每行的对象自带 \"job\");\n"
    "失败的作业在标准错误上给出以文件名开头的消息, 其余作业照常计算。\n"
    "退出状态: 0 全部成功; 1 有作业失败; 2 用法错误。\n";

bool ModeWritesReport(BatchMode mode) {
    return mode == BatchMode::Html || mode == BatchMode::Odt || mode == BatchMode::Csv;
}

bool ModeExports(BatchMode mode) {
    return mode == BatchMode::Cass || mode == BatchMode::Dxf || mode == BatchMode::GamaXml;
}

bool ModeTakesOneJob(BatchMode mode) {
    return mode == BatchMode::Pdf || mode == BatchMode::Svg || mode == BatchMode::Job ||
           ModeWritesReport(mode) || ModeExports(mode);
}

std::optional<BatchCommandLine> ParseBatchCommandLine(const std::vector<std::string>& args,
                                                      std::string& problem) {
    BatchCommandLine line;
    bool modeGiven = false, optionsEnded = false, stdinGiven = false, encodingGiven = false;
    auto setMode = [&](BatchMode mode) {
        if (modeGiven) {
            problem = "一次只能选一种输出";
            return false;
        }
        line.mode = mode;
        modeGiven = true;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a == "--version") {
            line.showVersion = true;
        } else if (!optionsEnded && (a == "--help" || a == "-h")) {
            line.showHelp = true;
        } else if (!optionsEnded && a == "--fields") {
            if (!setMode(BatchMode::Fields)) return std::nullopt;
        } else if (!optionsEnded && a == "--transcript") {
            if (!setMode(BatchMode::Transcript)) return std::nullopt;
        } else if (!optionsEnded && a == "--design") {
            line.design = true;
        } else if (!optionsEnded && a == "--fieldbook") {
            line.fieldBook = true;
        } else if (!optionsEnded && a == "--job") {
            if (!setMode(BatchMode::Job)) return std::nullopt;
        } else if (!optionsEnded && a == "--classes") {
            line.listClasses = true;
        } else if (!optionsEnded && a == "--class") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                problem = "--class 后面要给出等级的名称";
                return std::nullopt;
            }
            line.orderClass = args[++i];
        } else if (!optionsEnded && a == "--import") {
            if (!setMode(BatchMode::Import)) return std::nullopt;
        } else if (!optionsEnded && a == "--points") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                problem = "--points 后面要给出点号的对应, 如 A=K1,B=K2,C=K3,D=K4";
                return std::nullopt;
            }
            line.points = args[++i];
        } else if (!optionsEnded && a == "--encoding") {
            if (i + 1 >= args.size() || (args[i + 1] != "gbk" && args[i + 1] != "GBK" &&
                                         args[i + 1] != "utf-8" && args[i + 1] != "UTF-8")) {
                problem = "--encoding 后面要给出 gbk 或 utf-8";
                return std::nullopt;
            }
            line.gbk = args[++i] == "gbk" || args[i] == "GBK";
            encodingGiven = true;
        } else if (!optionsEnded && a == "--steps") {
            line.steps = true;
        } else if (!optionsEnded && a == "--json") {
            if (!setMode(BatchMode::Json)) return std::nullopt;
        } else if (const auto file = FileMode(a); !optionsEnded && file) {
            if (!setMode(file->mode)) return std::nullopt;
            if (i + 1 >= args.size()) {
                problem = a + " 后面要给出" + file->kind + "文件的名字";
                return std::nullopt;
            }
            line.outputPath = args[++i];
        } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
            problem = "不认识的选项 " + a;
            return std::nullopt;
        } else {
            if (a == "-") {
                if (stdinGiven) {
                    problem = "标准输入 \"-\" 只能读一次";
                    return std::nullopt;
                }
                stdinGiven = true;
            }
            line.jobs.push_back(a);
        }
    }
    if (line.showVersion || line.showHelp || line.listClasses) return line;
    if (!line.points.empty() && line.mode != BatchMode::Import) {
        problem = "--points 只能与 --import 一起用";
        return std::nullopt;
    }
    if (encodingGiven && line.mode != BatchMode::Cass) {
        problem = "--encoding 只能与 --cass 一起用";
        return std::nullopt;
    }
    if (line.mode == BatchMode::Import) {
        if (line.fieldBook || line.design || !line.orderClass.empty() || line.steps) {
            problem = "--import 不能与 --fieldbook, --design, --class 或 --steps 一起用";
            return std::nullopt;
        }
        if (line.jobs.empty()) {
            problem = "没有给出仪器数据文件";
            return std::nullopt;
        }
        return line;
    }
    if (line.mode == BatchMode::Job && !line.fieldBook) {
        problem = "--job 只能与 --fieldbook 一起用";
        return std::nullopt;
    }
    if (line.fieldBook) {
        // A book gives its sheet, its JSON, its job or the report of its job.
        if (line.design) {
            problem = "--fieldbook 不能与 --design 一起用";
            return std::nullopt;
        }
        if (line.mode != BatchMode::Report && line.mode != BatchMode::Json && line.mode != BatchMode::Job &&
            !ModeWritesReport(line.mode) && !ModeExports(line.mode)) {
            problem =
                "--fieldbook 只能与 --json, --job, --html, --odt, --csv, --cass, --dxf, --gama-xml, --class "
                "或 "
                "--steps 一起用";
            return std::nullopt;
        }
        if (line.steps && !ModeWritesReport(line.mode)) {
            problem = "--steps 只能与 --html, --odt 或 --csv 一起用";
            return std::nullopt;
        }
        if (line.jobs.empty()) {
            problem = "没有给出外业手簿";
            return std::nullopt;
        }
        if (ModeTakesOneJob(line.mode) && line.jobs.size() != 1) {
            problem = "这种输出只能有一个外业手簿";
            return std::nullopt;
        }
        return line;
    }
    if (line.design && line.mode != BatchMode::Report && line.mode != BatchMode::Json &&
        line.mode != BatchMode::Svg && !ModeWritesReport(line.mode) && !ModeExports(line.mode)) {
        problem =
            "--design 只能与 --json, --svg, --html, --odt, --csv, --cass, --dxf, --gama-xml 或 --class "
            "一起用";
        return std::nullopt;
    }
    if (!line.orderClass.empty() && line.mode != BatchMode::Json && !ModeWritesReport(line.mode) &&
        !line.design) {
        problem = "--class 只能与 --json, --html, --odt 或 --csv 一起用";
        return std::nullopt;
    }
    if (line.steps && (!ModeWritesReport(line.mode) || line.design)) {
        problem = line.design ? "精度估算没有计算过程: --steps 不能与 --design 一起用"
                              : "--steps 只能与 --html, --odt 或 --csv 一起用";
        return std::nullopt;
    }
    if (line.jobs.empty()) {
        problem = line.design ? "没有给出设计文件" : "没有给出作业文件";
        return std::nullopt;
    }
    if (ModeTakesOneJob(line.mode) && line.jobs.size() != 1) {
        problem = "这种输出只能有一个作业文件";
        return std::nullopt;
    }
    return line;
}

std::string RunningProgramPath() {
    std::vector<char> self(4096);
    const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
    return n <= 0 ? std::string() : std::string(self.data(), static_cast<std::size_t>(n));
}

}  // namespace korvanet
