// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/document_odt.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextImageFormat>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QTextTableFormat>
#include <QUrl>
#include <cstddef>

#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// A Song-style face for a document read on paper; where it is missing the
// classic Song face of the same machine.
constexpr char kDocumentFontName[] = "Noto Serif CJK SC";
constexpr char kDocumentFontFallback[] = "AR PL UMing CN";
constexpr double kBodyPointSize = 10.5;  // 五号, the size of a Chinese report's text
constexpr double kTitlePointSize = 20;
constexpr double kHeadingPointSize = 14;

// The drawing is rendered this many pixels across and shown 16 cm wide: Qt's
// document writer counts 96 pixels to the inch, so 16 cm are 604.7 of them.
constexpr int kFigurePixels = 1600;
constexpr double kFigureShownPixels = 16.0 / 2.54 * 96.0;

// Table lines and the room inside a cell, in the writer's pixels (0.75 pt each).
constexpr double kBorderPixels = 1.0;
constexpr double kCellPaddingPixels = 4.0;

const QColor kFlaggedColour(0xc0, 0x00, 0x00);

QString Q(const std::string& text) { return QString::fromStdString(text); }

[[noreturn]] void Fail(const std::string& why) { throw KorvanetError("无法生成 ODT 文档: " + why); }

QFont DocumentFont() {
    static const bool substituted = [] {
        QFont::insertSubstitution(QString::fromLatin1(kDocumentFontName),
                                  QString::fromLatin1(kDocumentFontFallback));
        return true;
    }();
    (void)substituted;
    QFont font(QString::fromLatin1(kDocumentFontName));
    font.setPointSizeF(kBodyPointSize);
    return font;
}

QTextCharFormat Characters(double pointSize, bool bold, const QColor* colour = nullptr) {
    QTextCharFormat format;
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
    return format;
}

QTextBlockFormat Body(double marginAbove = 0) {
    QTextBlockFormat format;
    format.setTopMargin(marginAbove);
    format.setBottomMargin(4);
    return format;
}

QString HeaderText(const DocumentColumn& column) {
    return column.unit.empty() ? Q(column.heading) : Q(column.heading + " (" + column.unit + ")");
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
    format.setHeaderRowCount(1);
    const int rows = static_cast<int>(table.rows.size()) + 1;
    const int columns = static_cast<int>(table.columns.size());
    QTextTable* grid = cursor.insertTable(rows, columns, format);

    // Every cell with a cell format of its own: the writer gives borders
    // and padding only to cells that carry one.
    QTextTableCellFormat cellFormat;
    cellFormat.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    const auto put = [&](int row, int column, const std::string& text, const QTextCharFormat& chars) {
        QTextTableCell cell = grid->cellAt(row, column);
        cell.setFormat(cellFormat);
        QTextCursor at = cell.firstCursorPosition();
        at.insertText(Q(text), chars);
    };
    const QTextCharFormat header = Characters(kBodyPointSize, true);
    for (int c = 0; c < columns; ++c) {
        QTextTableCell cell = grid->cellAt(0, c);
        cell.setFormat(cellFormat);
        cell.firstCursorPosition().insertText(HeaderText(table.columns[static_cast<std::size_t>(c)]), header);
    }
    const QTextCharFormat plain = Characters(kBodyPointSize, false);
    const QTextCharFormat strong = Characters(kBodyPointSize, true);
    const QTextCharFormat flagged = Characters(kBodyPointSize, true, &kFlaggedColour);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool standsOut = r < table.flagged.size() && table.flagged[r];
        const std::vector<std::string>& cells = table.rows[r];
        for (int c = 0; c < columns && static_cast<std::size_t>(c) < cells.size(); ++c) {
            const QTextCharFormat& chars = standsOut ? flagged : (table.matrix && c == 0) ? strong : plain;
            put(static_cast<int>(r) + 1, c, cells[static_cast<std::size_t>(c)], chars);
        }
    }
    cursor.movePosition(QTextCursor::End);
}

void AddFigure(QTextDocument& document, QTextCursor& cursor, const DocumentBlock& figure, int number) {
    QSvgRenderer renderer(QByteArray::fromStdString(figure.svg));
    const QSizeF size = renderer.defaultSize();
    if (!renderer.isValid() || size.isEmpty()) Fail("图形无法绘制");
    const int height = static_cast<int>(kFigurePixels * size.height() / size.width() + 0.5);
    QImage image(kFigurePixels, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter, QRectF(0, 0, kFigurePixels, height));
    }

    const QUrl url(QStringLiteral("korvanet-figure-%1.png").arg(number));
    document.addResource(QTextDocument::ImageResource, url, image);
    QTextBlockFormat centred = Body(8);
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, Characters(kBodyPointSize, false));
    QTextImageFormat picture;
    picture.setName(url.toString());
    picture.setWidth(kFigureShownPixels);
    picture.setHeight(kFigureShownPixels * height / kFigurePixels);
    picture.setQuality(100);  // a PNG: lines and small type stay sharp
    cursor.insertImage(picture);
    if (!figure.text.empty()) {
        cursor.insertBlock(centred, Characters(kBodyPointSize, false));
        cursor.insertText(Q(figure.text));
    }
}

}  // namespace

std::string DocumentOdt(const AdjustmentDocument& doc) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        Fail("程序没有在图形环境中运行");
    }
    QTextDocument document;
    document.setDefaultFont(DocumentFont());
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
        cursor.insertBlock(Heading(2, 14), Characters(kHeadingPointSize, true));
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

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) Fail("内存不足");
    QTextDocumentWriter writer(&buffer, QByteArrayLiteral("odf"));
    if (!writer.write(&document)) Fail("文档写出失败");
    buffer.close();
    return bytes.toStdString();
}

}  // namespace korvanet
