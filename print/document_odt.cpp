// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/document_odt.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "core/korvanet_error.h"
#include "core/korvanet_version.h"
#include "print/svg_image.h"
#include "report/markup_text.h"

namespace korvanet {
namespace {

// A Song face with a real bold, named for the Latin and the Chinese text
// alike; a reader without it gets the word processor's own Song face.
constexpr char kFontName[] = "Noto Serif CJK SC";

// A4 upright and on its side, with the margins of a bound report.
// On its side the page keeps 1.5 cm left and right: the condition equations
// of a figure with its orientation angle need 26 cm.
constexpr double kPageWidthCm = 21.0, kPageHeightCm = 29.7, kMarginCm = 2.0, kSideMarginCm = 1.5;
constexpr double kUprightTextCm = kPageWidthCm - 2 * kMarginCm;         // 17 cm
constexpr double kLandscapeTextCm = kPageHeightCm - 2 * kSideMarginCm;  // 26.7 cm

constexpr double kTablePoints = 9;
constexpr double kCmPerPoint = 2.54 / 72;
// The room of a cell beside its text: padding both sides and the rule.
constexpr double kCellRoomCm = 2 * 0.1 + 0.05;
// A column whose text may wrap is made no narrower than this many ems
// (unless all its text is shorter), so that a name or a note reads in
// lines, not in single characters; a heading may wrap where it breaks.
constexpr double kWrappedColumnEms = 7;
// What the estimate of a text's width is given beyond itself: the face may
// set it a little wider than counted.
constexpr double kWidthSlack = 1.1;

// The drawing: rendered this many pixels across, shown 16 cm wide.
constexpr int kFigurePixels = 1600;
constexpr double kFigureCm = 16;

[[noreturn]] void Fail(const std::string& why) { throw KorvanetError("无法生成 ODT 文档: " + why); }

// ---- text ----

// Text as ODF character data: markup escaped, runs of blanks kept
// (<text:s/>), line ends and tabs as elements, and the control characters
// XML cannot hold replaced by U+FFFD so that the file always opens.
void Text(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ') {
            std::size_t n = 1;
            while (i + n < text.size() && text[i + n] == ' ') ++n;
            out += ' ';
            if (n > 1) out += "<text:s text:c=\"" + std::to_string(n - 1) + "\"/>";
            i += n - 1;
        } else if (c == '\n') {
            out += "<text:line-break/>";
        } else if (c == '\t') {
            out += "<text:tab/>";
        } else if (c < 0x20 || c == 0x7f) {
            out += "\xEF\xBF\xBD";
        } else {
            AppendEscapedMarkup(out, text.substr(i, 1));
        }
    }
}

// An attribute value: markup escaped, control characters replaced.
std::string Attribute(std::string_view text) {
    std::string out;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f) {
            out += "\xEF\xBF\xBD";
        } else {
            AppendEscapedMarkup(out, std::string_view(&ch, 1));
        }
    }
    return out;
}

std::string Cm(double cm) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3fcm", cm);
    return buffer;
}

// ---- column widths ----

// The width of a character in ems: a Latin digit or letter about half an
// em (m and w wider, capitals a little; the marks °, ′ and ″ of an angle
// too, which a word processor sets in the Latin face), a Chinese character a
// whole one.  Generous rather than tight: a column a little wide
// costs nothing, a number broken over two lines is read wrong.
double CharacterEms(char32_t c) {
    if (c == U'm' || c == U'w' || c == U'M' || c == U'W') return 0.85;
    if (c >= U'A' && c <= U'Z') return 0.7;
    if (c < 0x80 || c == U'°' || c == U'′' || c == U'″') return 0.55;
    return 1.0;
}

// Decodes one UTF-8 character at `i`, advancing `i`.
char32_t NextCharacter(std::string_view s, std::size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    const int more = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : 1;
    char32_t value = c & (0x3f >> more);
    for (int k = 0; k < more && i < s.size(); ++k)
        value = (value << 6) | (static_cast<unsigned char>(s[i++]) & 0x3f);
    return value;
}

// Chinese text may break between any two characters; other text only at a blank.
bool BreaksAround(char32_t c) { return c >= 0x2e80; }

struct TextExtent {
    double whole = 0;    // the text on one line, in ems
    double longest = 0;  // its longest piece that cannot be broken
};

TextExtent Extent(std::string_view text, bool figure) {
    TextExtent e;
    double piece = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCharacter(text, i);
        const double w = CharacterEms(c);
        e.whole += w;
        if (!figure && (c == ' ' || BreaksAround(c))) {
            e.longest = std::max(e.longest, piece);
            piece = BreaksAround(c) ? w : 0;
        } else {
            piece += w;
        }
    }
    e.longest = std::max(e.longest, piece);
    return e;
}

struct TableLayout {
    std::vector<double> columnsCm;
    bool landscape = false;
};

// Each column as wide as its widest figure (a figure never breaks) and as
// its longest word; what room the page has beyond that goes to the columns
// whose text wraps.  A table too wide for the upright page is set on its side.
TableLayout LayOut(const DocumentTable& table) {
    const std::size_t n = table.columns.size();
    std::vector<double> least(n, 0), whole(n, 0);
    const auto take = [&](std::size_t c, std::string_view text, bool heading, double boldness) {
        const bool figure = ReadsAsFigure(text);
        const TextExtent e = Extent(text, figure);
        const double wrapped = figure    ? e.whole
                               : heading ? e.longest
                                         : std::max(e.longest, std::min(e.whole, kWrappedColumnEms));
        least[c] = std::max(least[c], wrapped * boldness * kWidthSlack);
        whole[c] = std::max(whole[c], e.whole * boldness * kWidthSlack);
    };
    for (std::size_t c = 0; c < n; ++c) take(c, ColumnHeading(table.columns[c]), true, 1.08);
    for (const std::vector<std::string>& row : table.rows)
        for (std::size_t c = 0; c < n && c < row.size(); ++c)
            take(c, row[c], false, table.matrix && c == 0 ? 1.08 : 1.0);

    const double em = kTablePoints * kCmPerPoint;
    TableLayout layout;
    double sum = 0;
    for (std::size_t c = 0; c < n; ++c) {
        layout.columnsCm.push_back(least[c] * em + kCellRoomCm);
        sum += layout.columnsCm.back();
    }
    layout.landscape = sum > kUprightTextCm;
    const double page = layout.landscape ? kLandscapeTextCm : kUprightTextCm;
    // The room left, shared in proportion to what each wrapping column lacks.
    double lacking = 0;
    for (std::size_t c = 0; c < n; ++c) lacking += (whole[c] - least[c]) * em;
    if (lacking > 0 && sum < page) {
        const double share = std::min(1.0, (page - sum) / lacking);
        for (std::size_t c = 0; c < n; ++c) layout.columnsCm[c] += (whole[c] - least[c]) * em * share;
    }
    return layout;
}

// ---- the package ----

std::uint32_t Crc32(std::string_view data) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xffffffffu;
    for (char ch : data) crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

struct Entry {
    std::string name, data;
};

// A zip of stored entries, as ODF allows: the mimetype first and
// uncompressed, so that a reader knows the file by its first bytes.
std::string Zip(const std::vector<Entry>& entries) {
    constexpr std::uint32_t kDosDate =
        (0u << 9) | (1u << 5) | 1u;  // 1980-01-01: the file says nothing of when
    std::string out, directory;
    for (const Entry& e : entries) {
        if (e.data.size() >= 0xffffffffu || out.size() >= 0xffffffffu) Fail("文档过大");
        const std::uint32_t crc = Crc32(e.data), size = static_cast<std::uint32_t>(e.data.size());
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        const auto header = [&](std::string& to, bool central) {
            Put32(to, central ? 0x02014b50u : 0x04034b50u);
            if (central) Put16(to, 20);  // made by: zip 2.0
            Put16(to, 20);               // needed to extract: 2.0
            Put16(to, 0x0800);           // the names are UTF-8
            Put16(to, 0);                // stored
            Put16(to, 0);                // time
            Put16(to, kDosDate);
            Put32(to, crc);
            Put32(to, size);
            Put32(to, size);
            Put16(to, static_cast<std::uint32_t>(e.name.size()));
            Put16(to, 0);  // extra field
            if (central) {
                Put16(to, 0);  // comment
                Put16(to, 0);  // disk
                Put16(to, 0);  // internal attributes
                Put32(to, 0);  // external attributes
                Put32(to, offset);
            }
            to += e.name;
        };
        header(out, false);
        out += e.data;
        header(directory, true);
    }
    const std::uint32_t at = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50u);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, at);
    Put16(out, 0);
    return out;
}

// ---- the XML ----

constexpr const char* kNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " office:version=\"1.2\"";

// Size and weight for the three scripts: LibreOffice sets a Chinese
// character by the -asian properties alone.
std::string Type(double points, bool bold) {
    char size[16];
    std::snprintf(size, sizeof size, "%gpt", points);
    const std::string weight = bold ? "bold" : "normal";
    return std::string(" fo:font-size=\"") + size + "\" style:font-size-asian=\"" + size +
           "\" style:font-size-complex=\"" + size + "\" fo:font-weight=\"" + weight +
           "\" style:font-weight-asian=\"" + weight + "\" style:font-weight-complex=\"" + weight + "\"";
}

std::string ParagraphStyle(const char* name, const char* display, const std::string& paragraph,
                           const std::string& text, const char* extra = "") {
    return std::string("<style:style style:name=\"") + name + "\" style:display-name=\"" + display +
           "\" style:family=\"paragraph\" style:parent-style-name=\"Standard\"" + extra +
           "><style:paragraph-properties" + paragraph + "/><style:text-properties" + text +
           "/></style:style>\n";
}

std::string Styles() {
    const std::string font = Attribute(kFontName);
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-styles";
    s += kNamespaces;
    s += ">\n<office:font-face-decls><style:font-face style:name=\"" + font + "\" svg:font-family=\"'" +
         font +
         "'\" style:font-family-generic=\"roman\" style:font-pitch=\"variable\"/></office:font-face-decls>\n";
    s += "<office:styles>\n";
    s += "<style:default-style style:family=\"paragraph\"><style:paragraph-properties "
         "style:line-break=\"strict\"/><style:text-properties style:font-name=\"" +
         font + "\" style:font-name-asian=\"" + font + "\" style:font-name-complex=\"" + font + "\"" +
         Type(10.5, false) +
         " fo:language=\"en\" fo:country=\"US\" style:language-asian=\"zh\" style:country-asian=\"CN\" "
         "fo:hyphenate=\"false\"/></style:default-style>\n";
    s += "<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>\n";
    s += ParagraphStyle("Text_20_body", "Text body", " fo:margin-top=\"0cm\" fo:margin-bottom=\"0.14cm\"",
                        Type(10.5, false), " style:class=\"text\"");
    s += ParagraphStyle("Heading_20_1", "Heading 1",
                        " fo:margin-top=\"0cm\" fo:margin-bottom=\"0.2cm\" fo:keep-with-next=\"always\"",
                        Type(18, true),
                        " style:default-outline-level=\"1\" style:next-style-name=\"Subtitle\" "
                        "style:class=\"text\"");
    s += ParagraphStyle("Subtitle", "Subtitle", " fo:margin-top=\"0cm\" fo:margin-bottom=\"0.5cm\"",
                        Type(10.5, false) + " fo:color=\"#333333\"", " style:class=\"chapter\"");
    s += ParagraphStyle("Heading_20_2", "Heading 2",
                        " fo:margin-top=\"0.5cm\" fo:margin-bottom=\"0.2cm\" fo:keep-with-next=\"always\" "
                        "fo:border-bottom=\"0.5pt solid #000000\" fo:padding-bottom=\"0.05cm\"",
                        Type(13, true),
                        " style:default-outline-level=\"2\" style:next-style-name=\"Text_20_body\" "
                        "style:class=\"text\"");
    s += ParagraphStyle("Table_20_Caption", "Table caption",
                        " fo:margin-top=\"0.2cm\" fo:margin-bottom=\"0.1cm\" fo:keep-with-next=\"always\"",
                        Type(10.5, true), " style:class=\"extra\"");
    s += ParagraphStyle("Figure", "Figure", " fo:text-align=\"center\" fo:margin-top=\"0.2cm\"",
                        Type(10.5, false), " style:class=\"extra\"");
    const std::string cellText = Type(kTablePoints, false);
    const std::string cellBold = Type(kTablePoints, true);
    const char* left = " fo:margin=\"0cm\"";
    const char* right = " fo:margin=\"0cm\" fo:text-align=\"end\"";
    const char* centre = " fo:margin=\"0cm\" fo:text-align=\"center\"";
    s += ParagraphStyle("Table_20_Contents", "Table Contents", left, cellText, " style:class=\"extra\"");
    s += ParagraphStyle("Table_20_Figure", "Table figure", right, cellText, " style:class=\"extra\"");
    s += ParagraphStyle("Table_20_Heading", "Table Heading", centre, cellBold, " style:class=\"extra\"");
    s += ParagraphStyle("Table_20_Row_20_Heading", "Table row heading", left, cellBold,
                        " style:class=\"extra\"");
    s += ParagraphStyle("Table_20_Flagged", "Table flagged", left, cellBold + " fo:color=\"#c00000\"",
                        " style:class=\"extra\"");
    s += ParagraphStyle("Table_20_Flagged_20_Figure", "Table flagged figure", right,
                        cellBold + " fo:color=\"#c00000\"", " style:class=\"extra\"");
    s += "</office:styles>\n<office:automatic-styles>\n";
    const auto pageLayout = [&](const char* name, double width, double height, const char* orientation,
                                double side) {
        s += std::string("<style:page-layout style:name=\"") + name +
             "\"><style:page-layout-properties fo:page-width=\"" + Cm(width) + "\" fo:page-height=\"" +
             Cm(height) + "\" style:print-orientation=\"" + orientation + "\" fo:margin-top=\"" +
             Cm(kMarginCm) + "\" fo:margin-bottom=\"" + Cm(kMarginCm) + "\" fo:margin-left=\"" + Cm(side) +
             "\" fo:margin-right=\"" + Cm(side) + "\"/></style:page-layout>\n";
    };
    pageLayout("Upright", kPageWidthCm, kPageHeightCm, "portrait", kMarginCm);
    pageLayout("Sideways", kPageHeightCm, kPageWidthCm, "landscape", kSideMarginCm);
    s += "</office:automatic-styles>\n<office:master-styles>\n"
         "<style:master-page style:name=\"Standard\" style:page-layout-name=\"Upright\"/>\n"
         "<style:master-page style:name=\"Landscape\" style:page-layout-name=\"Sideways\"/>\n"
         "</office:master-styles>\n</office:document-styles>\n";
    return s;
}

std::string Meta(const AdjustmentDocument& doc) {
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-meta";
    s += kNamespaces;
    s += "><office:meta><meta:generator>Korvanet ";
    s += kVersion;
    s += "</meta:generator><dc:title>";
    Text(s, doc.title);
    s += "</dc:title><dc:language>zh-CN</dc:language></office:meta></office:document-meta>\n";
    return s;
}

struct Content {
    std::string automatic;  // the automatic styles: tables, their columns, page changes
    std::string body;
    std::vector<Entry> pictures;
    int tables = 0;
};

void Paragraph(std::string& out, const std::string& style, std::string_view text, const char* element = "p",
               int level = 0) {
    out += std::string("<text:") + element + " text:style-name=\"" + style + "\"";
    if (level > 0) out += " text:outline-level=\"" + std::to_string(level) + "\"";
    out += '>';
    Text(out, text);
    out += std::string("</text:") + element + ">\n";
}

void Cell(std::string& out, const char* cellStyle, const char* paragraphStyle, std::string_view text) {
    out += std::string("<table:table-cell table:style-name=\"") + cellStyle +
           "\" office:value-type=\"string\"><text:p text:style-name=\"" + paragraphStyle + "\">";
    Text(out, text);
    out += "</text:p></table:table-cell>";
}

void AddTable(Content& c, const DocumentTable& table, const TableLayout& layout) {
    if (table.columns.empty()) return;
    const std::string name = "Table" + std::to_string(++c.tables);
    double width = 0;
    for (double w : layout.columnsCm) width += w;
    c.automatic +=
        "<style:style style:name=\"" + name +
        "\" style:family=\"table\"><style:table-properties style:width=\"" + Cm(width) +
        "\" table:align=\"left\" fo:margin-top=\"0cm\" fo:margin-bottom=\"0.3cm\"/></style:style>\n";
    for (std::size_t k = 0; k < layout.columnsCm.size(); ++k)
        c.automatic +=
            "<style:style style:name=\"" + name + "." + std::to_string(k + 1) +
            "\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"" +
            Cm(layout.columnsCm[k]) + "\"/></style:style>\n";

    Paragraph(c.body, "Table_20_Caption", table.name);
    c.body += "<table:table table:name=\"" + name + "\" table:style-name=\"" + name + "\">\n";
    for (std::size_t k = 0; k < layout.columnsCm.size(); ++k)
        c.body += "<table:table-column table:style-name=\"" + name + "." + std::to_string(k + 1) + "\"/>";
    c.body += "\n<table:table-header-rows><table:table-row>";
    for (const DocumentColumn& column : table.columns)
        Cell(c.body, "HeaderCell", "Table_20_Heading", ColumnHeading(column));
    c.body += "</table:table-row></table:table-header-rows>\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool flagged = r < table.flagged.size() && table.flagged[r];
        const std::vector<std::string>& row = table.rows[r];
        c.body += "<table:table-row>";
        for (std::size_t k = 0; k < table.columns.size(); ++k) {
            const std::string_view text = k < row.size() ? std::string_view(row[k]) : std::string_view();
            const bool right = table.AlignsRight(text);
            const char* style = flagged ? (right ? "Table_20_Flagged_20_Figure" : "Table_20_Flagged")
                                : right ? "Table_20_Figure"
                                : table.matrix && k == 0 ? "Table_20_Row_20_Heading"
                                                         : "Table_20_Contents";
            Cell(c.body, "BodyCell", style, text);
        }
        c.body += "</table:table-row>\n";
    }
    c.body += "</table:table>\n";
}

void AddFigure(Content& c, const DocumentBlock& figure) {
    const QImage image = SvgImage(figure.svg, kFigurePixels);
    const std::string png = PngBytes(image);
    const double height = kFigureCm * image.height() / image.width();
    const std::string path = "Pictures/figure-" + std::to_string(c.pictures.size() + 1) + ".png";
    c.pictures.push_back({path, png});
    c.body +=
        "<text:p text:style-name=\"Figure\"><draw:frame draw:name=\"图" + std::to_string(c.pictures.size()) +
        "\" text:anchor-type=\"as-char\" svg:width=\"" + Cm(kFigureCm) + "\" svg:height=\"" + Cm(height) +
        "\"><draw:image xlink:href=\"" + path +
        "\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/></draw:frame></text:p>\n";
    if (!figure.text.empty()) Paragraph(c.body, "Figure", figure.text);
}

std::string ContentXml(const AdjustmentDocument& doc, Content& c) {
    // A section is set on its side as a whole when one of its tables is too
    // wide to stand: its heading starts the sideways pages, the next
    // section's heading the upright ones again.
    c.automatic +=
        "<style:style style:name=\"HeaderCell\" style:family=\"table-cell\"><style:table-cell-properties "
        "fo:padding-top=\"0.03cm\" fo:padding-bottom=\"0.03cm\" fo:padding-left=\"0.1cm\" "
        "fo:padding-right=\"0.1cm\" fo:border=\"0.5pt solid #000000\" fo:background-color=\"#eeeeee\" "
        "style:vertical-align=\"middle\"/></style:style>\n"
        "<style:style style:name=\"BodyCell\" style:family=\"table-cell\"><style:table-cell-properties "
        "fo:padding-top=\"0.03cm\" fo:padding-bottom=\"0.03cm\" fo:padding-left=\"0.1cm\" "
        "fo:padding-right=\"0.1cm\" fo:border=\"0.5pt solid #000000\" style:vertical-align=\"middle\"/>"
        "</style:style>\n"
        "<style:style style:name=\"HeadingSideways\" style:family=\"paragraph\" "
        "style:parent-style-name=\"Heading_20_2\" style:master-page-name=\"Landscape\"/>\n"
        "<style:style style:name=\"HeadingUpright\" style:family=\"paragraph\" "
        "style:parent-style-name=\"Heading_20_2\" style:master-page-name=\"Standard\"/>\n";
    Paragraph(c.body, "Heading_20_1", doc.title, "h", 1);
    if (!doc.subtitle.empty()) Paragraph(c.body, "Subtitle", doc.subtitle);
    bool sideways = false;
    for (const DocumentSection& section : doc.sections) {
        std::vector<TableLayout> layouts;
        bool wide = false;
        for (const DocumentBlock& block : section.blocks) {
            layouts.push_back(block.kind == DocumentBlock::Kind::Table ? LayOut(block.table) : TableLayout{});
            wide |= layouts.back().landscape;
        }
        const char* heading = wide == sideways ? "Heading_20_2" : wide ? "HeadingSideways" : "HeadingUpright";
        sideways = wide;
        Paragraph(c.body, heading, section.heading, "h", 2);
        for (std::size_t b = 0; b < section.blocks.size(); ++b) {
            const DocumentBlock& block = section.blocks[b];
            switch (block.kind) {
                case DocumentBlock::Kind::Paragraph:
                    Paragraph(c.body, "Text_20_body", block.text);
                    break;
                case DocumentBlock::Kind::Table:
                    AddTable(c, block.table, layouts[b]);
                    break;
                case DocumentBlock::Kind::Figure:
                    AddFigure(c, block);
                    break;
            }
        }
    }
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content";
    s += kNamespaces;
    s += ">\n<office:automatic-styles>\n" + c.automatic + "</office:automatic-styles>\n";
    s += "<office:body><office:text>\n" + c.body + "</office:text></office:body></office:document-content>\n";
    return s;
}

std::string Manifest(const std::vector<Entry>& pictures) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">\n"
        " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>\n"
        " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
        " <manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>\n"
        " <manifest:file-entry manifest:full-path=\"meta.xml\" manifest:media-type=\"text/xml\"/>\n";
    for (const Entry& p : pictures)
        s += " <manifest:file-entry manifest:full-path=\"" + p.name +
             "\" manifest:media-type=\"image/png\"/>\n";
    return s + "</manifest:manifest>\n";
}

}  // namespace

std::string DocumentOdt(const AdjustmentDocument& doc) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        Fail("程序没有在图形环境中运行");
    Content content;
    std::string contentXml;
    try {
        contentXml = ContentXml(doc, content);
    } catch (const KorvanetError& e) {
        Fail(e.what());
    }
    std::vector<Entry> entries = {{"mimetype", "application/vnd.oasis.opendocument.text"},
                                  {"META-INF/manifest.xml", Manifest(content.pictures)},
                                  {"meta.xml", Meta(doc)},
                                  {"styles.xml", Styles()},
                                  {"content.xml", contentXml}};
    for (Entry& p : content.pictures) entries.push_back(std::move(p));
    return Zip(entries);
}

}  // namespace korvanet
