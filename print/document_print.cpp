// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/document_print.h"

#include <QColor>
#include <QFont>
#include <QPrinter>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextOption>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QTextTableFormat>
#include <QUrl>
#include <cstddef>

#include "print/svg_image.h"

namespace korvanet {
namespace {

constexpr char kFontName[] = "AR PL UMing CN";
constexpr double kBodyPointSize = 10.5;  // 五号, the size of a Chinese report's text
constexpr double kTablePointSize = 9;    // 小五: the widest tables keep their numbers on one line
constexpr double kTitlePointSize = 18;
constexpr double kHeadingPointSize = 13;

// The drawing is rendered this many pixels across and shown a text column
// wide (16 cm; the document counts 96 pixels to the inch).
constexpr int kFigurePixels = 1600;
constexpr double kFigureShownPixels = 16.0 / 2.54 * 96.0;

constexpr double kBorderPixels = 1.0;
constexpr double kCellPaddingPixels = 3.0;

const QColor kFlaggedColour(0xc0, 0x00, 0x00);

QString Q(const std::string& text) { return QString::fromStdString(text); }

QTextCharFormat Characters(double pointSize, bool bold, const QColor* colour = nullptr) {
    QTextCharFormat format;
    format.setFontFamilies({QString::fromLatin1(kFontName)});
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (colour != nullptr) format.setForeground(*colour);
    return format;
}

QTextBlockFormat Heading(int level, double marginAbove) {
    QTextBlockFormat format;
    format.setHeadingLevel(level);
    format.setTopMargin(marginAbove);
    format.setBottomMargin(6);
    format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    return format;
}

QTextBlockFormat Body(double marginAbove = 0) {
    QTextBlockFormat format;
    format.setTopMargin(marginAbove);
    format.setBottomMargin(4);
    return format;
}

void AddTable(QTextCursor& cursor, const DocumentTable& table) {
    if (table.columns.empty()) return;
    cursor.insertBlock(Body(6), Characters(kBodyPointSize, true));
    cursor.insertText(Q(table.name));

    QTextTableFormat format;
    format.setBorder(kBorderPixels);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(kCellPaddingPixels);
    format.setHeaderRowCount(1);  // repeated on every page the table runs over
    const int columns = static_cast<int>(table.columns.size());
    QTextTable* grid = cursor.insertTable(static_cast<int>(table.rows.size()) + 1, columns, format);

    const QTextCharFormat header = Characters(kTablePointSize, true);
    for (int c = 0; c < columns; ++c)
        grid->cellAt(0, c).firstCursorPosition().insertText(
            Q(ColumnHeading(table.columns[static_cast<std::size_t>(c)])), header);
    const QTextCharFormat plain = Characters(kTablePointSize, false);
    const QTextCharFormat strong = Characters(kTablePointSize, true);
    const QTextCharFormat flagged = Characters(kTablePointSize, true, &kFlaggedColour);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool standsOut = r < table.flagged.size() && table.flagged[r];
        const std::vector<std::string>& cells = table.rows[r];
        for (int c = 0; c < columns && static_cast<std::size_t>(c) < cells.size(); ++c) {
            const QTextCharFormat& chars = standsOut ? flagged : (table.matrix && c == 0) ? strong : plain;
            const std::string& text = cells[static_cast<std::size_t>(c)];
            QTextCursor at = grid->cellAt(static_cast<int>(r) + 1, c).firstCursorPosition();
            if (table.AlignsRight(text)) {
                // Figures right-aligned, so that their digits line up.
                QTextBlockFormat right = at.blockFormat();
                right.setAlignment(Qt::AlignRight);
                at.setBlockFormat(right);
            }
            at.insertText(Q(text), chars);
        }
    }
    cursor.movePosition(QTextCursor::End);
}

void AddFigure(QTextDocument& document, QTextCursor& cursor, const DocumentBlock& figure, int number) {
    const QImage image = SvgImage(figure.svg, kFigurePixels);
    const QUrl url(QStringLiteral("korvanet-figure-%1.png").arg(number));
    document.addResource(QTextDocument::ImageResource, url, image);
    QTextBlockFormat centred = Body(8);
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, Characters(kBodyPointSize, false));
    QTextImageFormat picture;
    picture.setName(url.toString());
    picture.setWidth(kFigureShownPixels);
    picture.setHeight(kFigureShownPixels * image.height() / image.width());
    cursor.insertImage(picture);
    if (!figure.text.empty()) {
        cursor.insertBlock(centred, Characters(kBodyPointSize, false));
        cursor.insertText(Q(figure.text));
    }
}

}  // namespace

void PrintDocument(const AdjustmentDocument& doc, QPrinter& printer) {
    QTextDocument document;
    QFont font(QString::fromLatin1(kFontName));
    font.setPointSizeF(kBodyPointSize);
    document.setDefaultFont(font);
    // A cell may wrap between words, never inside a number: a coordinate
    // broken as "3521408." over "250" reads as two numbers.
    QTextOption wrapping = document.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(wrapping);
    QTextCursor cursor(&document);

    cursor.setBlockFormat(Heading(1, 0));
    cursor.setBlockCharFormat(Characters(kTitlePointSize, true));
    cursor.insertText(Q(doc.title), Characters(kTitlePointSize, true));
    if (!doc.subtitle.empty()) {
        cursor.insertBlock(Body(), Characters(kBodyPointSize, false));
        cursor.insertText(Q(doc.subtitle));
    }
    int figures = 0;
    for (const DocumentSection& section : doc.sections) {
        cursor.insertBlock(Heading(2, 12), Characters(kHeadingPointSize, true));
        cursor.insertText(Q(section.heading));
        for (const DocumentBlock& block : section.blocks) {
            switch (block.kind) {
                case DocumentBlock::Kind::Paragraph:
                    cursor.insertBlock(Body(), Characters(kBodyPointSize, false));
                    cursor.insertText(Q(block.text));
                    break;
                case DocumentBlock::Kind::Table:
                    AddTable(cursor, block.table);
                    break;
                case DocumentBlock::Kind::Figure:
                    AddFigure(document, cursor, block, ++figures);
                    break;
            }
        }
    }
    document.print(&printer);
}

}  // namespace korvanet
