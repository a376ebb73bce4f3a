#include "tools/RtfWriter.h"

#include "core/Cp1252.h"
#include "widgets/Fonts.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <cmath>

namespace rtf {
namespace {

// Twentieths of a point; the editor lays paragraphs out in pixels of 3/4 point.
int pixelsToTwips(double pixels)
{
    return static_cast<int>(std::lround(pixels * 15.0));
}

bool isBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

void appendEscaped(QByteArray& out, const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == 0x2028) {
            out += "\\line ";
        } else if (u < 0x20 || u == 0xFFFC) {
            // Control characters and embedded objects have no text to give.
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (cp1252::canEncode(c)) {
            out += "\\'" + QByteArray::number(cp1252::byteOf(c), 16).rightJustified(2, '0');
        } else {
            // Signed 16-bit, as RTF counts; a character beyond the first plane goes as its two halves.
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + '?';
        }
    }
}

class Writer
{
public:
    explicit Writer(const QTextDocument& document) : m_doc(document), m_default(document.defaultFont())
    {
        fontIndex(m_default.family());
    }

    QByteArray run()
    {
        QByteArray body;
        bool first = true;
        for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
            if (!first)
                body += "\\par\r\n";
            first = false;
            writeBlock(body, block);
        }

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\deftab720\r\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            appendEscaped(out, m_fonts.at(i));
            out += ";}";
        }
        out += "}\r\n";
        if (!m_colors.isEmpty()) {
            // Entry 0 stays the automatic colour.
            out += "{\\colortbl ;";
            for (const QColor& c : m_colors)
                out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
                       QByteArray::number(c.blue()) + ';';
            out += "}\r\n";
        }
        if (m_usesLists)
            out += listTables();
        out += "\\viewkind4\\uc1\r\n";
        out += body;
        out += "}\r\n";
        return out;
    }

private:
    static QByteArray listTables()
    {
        // List 1 puts a bullet (\'95) before its paragraphs, list 2 numbers them.
        return "{\\*\\listtable"
               "{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23\\leveljc0\\levelfollow0\\levelstartat1"
               "{\\leveltext\\'01\\'95;}{\\levelnumbers;}\\fi-300\\li300}\\listid1}"
               "{\\list\\listtemplateid2\\listsimple{\\listlevel\\levelnfc0\\leveljc0\\levelfollow0\\levelstartat1"
               "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-300\\li300}\\listid2}}\r\n"
               "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
               "{\\listoverride\\listid2\\listoverridecount0\\ls2}}\r\n";
    }

    int fontIndex(const QString& qtFamily)
    {
        const QString family = fonts::plainFamily(qtFamily);
        qsizetype i = m_fonts.indexOf(family);
        if (i < 0) {
            m_fonts.append(family);
            i = m_fonts.size() - 1;
        }
        return static_cast<int>(i);
    }

    int colorIndex(const QColor& color)
    {
        const QColor rgb = color.toRgb();
        qsizetype i = m_colors.indexOf(rgb);
        if (i < 0) {
            m_colors.append(rgb);
            i = m_colors.size() - 1;
        }
        return static_cast<int>(i) + 1;
    }

    // The attributes of a piece of text: its own where it has them, the document's default otherwise.
    QByteArray characterControls(const QTextCharFormat& format)
    {
        const QFont font = format.font().resolve(m_default);
        QByteArray out = "\\plain\\f" + QByteArray::number(fontIndex(font.family()));
        const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
        out += "\\fs" + QByteArray::number(static_cast<int>(std::lround(points * 2)));
        if (font.bold())
            out += "\\b";
        if (font.italic())
            out += "\\i";
        if (font.underline())
            out += "\\ul";
        if (font.strikeOut())
            out += "\\strike";
        if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
            out += "\\cf" + QByteArray::number(colorIndex(format.foreground().color()));
        return out;
    }

    void writeBlock(QByteArray& out, const QTextBlock& block)
    {
        const QTextBlockFormat format = block.blockFormat();
        out += "\\pard";
        const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            out += "\\qc";
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            out += "\\qr";
        else if (align & Qt::AlignJustify)
            out += "\\qj";
        else
            out += "\\ql";

        double left = format.leftMargin();
        double first = format.textIndent();
        QByteArray listControls;
        if (QTextList* list = block.textList()) {
            m_usesLists = true;
            const bool bullet = isBulletStyle(list->format().style());
            // The list's own indent pushes the text right; the bullet or number hangs in front of it.
            const double hang = list->format().indent() * m_doc.indentWidth();
            left += hang;
            first -= hang;
            listControls = "{\\listtext\\plain\\f0 ";
            if (bullet)
                listControls += "\\'95";
            else
                appendEscaped(listControls, list->itemText(block));
            listControls += "\\tab}" + QByteArray(bullet ? "\\ls1" : "\\ls2") + "\\ilvl0";
        }
        out += "\\fi" + QByteArray::number(pixelsToTwips(first)) + "\\li" + QByteArray::number(pixelsToTwips(left)) +
               "\\ri" + QByteArray::number(pixelsToTwips(format.rightMargin()));
        out += listControls;
        // The paragraph mark carries the block's own attributes, which give an empty line its height.
        out += characterControls(block.charFormat()) + ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            out += '{' + characterControls(fragment.charFormat()) + ' ';
            appendEscaped(out, fragment.text());
            out += '}';
        }
    }

    const QTextDocument& m_doc;
    const QFont m_default;
    QStringList m_fonts;
    QList<QColor> m_colors;
    bool m_usesLists = false;
};

} // namespace

QByteArray write(const QTextDocument& document)
{
    return Writer(document).run();
}

} // namespace rtf
