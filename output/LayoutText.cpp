#include "output/LayoutText.h"

#include "output/DisplayText.h"
#include "output/FontData.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>
#include <QScreen>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>

namespace pembrill {

namespace {

constexpr double NoScreenDpi = 96.0;
constexpr int DefaultPoints = 10;
constexpr int TabColumns = 8;
// Wider than any line: a piece is never broken.
constexpr qreal UnboundedWidth = 1e9;

bool BreaksLine(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

QFont FontOfFamily(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Whether a font can be embedded does not depend on its size: each name is
// looked at once.
QString EmbeddableFamily(const std::string& name, bool bold) {
    static std::map<std::pair<std::string, bool>, QString> families;
    const auto found = families.find({name, bold});
    if (found != families.end())
        return found->second;
    QString family = QString::fromStdString(name);
    if (!HasEmbeddableOutlines(QRawFont::fromFont(FontOfFamily(family, DefaultPoints, bold))))
        family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return families.emplace(std::make_pair(name, bold), family).first->second;
}

// A paragraph of its own, left to right as the page runs, on one line.
const QTextOption& PieceOption() {
    static const QTextOption option = [] {
        QTextOption piece(Qt::AlignLeft);
        piece.setWrapMode(QTextOption::NoWrap);
        piece.setTextDirection(Qt::LeftToRight);
        return piece;
    }();
    return option;
}

// Shapes the piece into the layout's one line; the layout keeps the shaping
// for its glyph runs.
QTextLine LayOutPiece(QTextLayout& layout) {
    layout.setTextOption(PieceOption());
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(UnboundedWidth);
    layout.endLayout();
    return line;
}

// Calls `shape(from, length, left)` for each non-empty piece of the text,
// which gives the piece's advance; the result is the text's width.
template <typename Shape> qreal ForEachPiece(const QFont& font, const QString& text, Shape shape) {
    const qreal spaceWidth = QFontMetricsF(font).horizontalAdvance(QLatin1Char(' '));
    qreal left = 0;
    qsizetype from = 0;
    for (;;) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), from);
        const qsizetype end = tab < 0 ? text.size() : tab;
        const qreal advance = end > from ? shape(from, end - from, left) : 0;
        if (tab < 0)
            return left + advance;
        left = AfterTab(left + advance, spaceWidth);
        from = tab + 1;
    }
}

// One run, left to right, a glyph for each character.
bool OneForOne(const QList<QGlyphRun>& runs, const QString& text) {
    if (runs.size() != 1 || runs.front().isRightToLeft())
        return false;
    const qsizetype lowSurrogates =
        std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
    return runs.front().glyphIndexes().size() == text.size() - lowSurrogates;
}

// A glyph as the layout placed it.
using PlacedGlyph = std::tuple<quint32, qreal, qreal>;

std::vector<PlacedGlyph> PlacedGlyphs(const QList<QGlyphRun>& runs) {
    std::vector<PlacedGlyph> glyphs;
    for (const QGlyphRun& run : runs) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i)
            glyphs.emplace_back(indexes[i], positions[i].x(), positions[i].y());
    }
    return glyphs;
}

bool Overlap(const std::vector<PlacedGlyph>& some, const std::vector<PlacedGlyph>& others) {
    return std::any_of(some.begin(), some.end(), [&](const PlacedGlyph& glyph) {
        return std::find(others.begin(), others.end(), glyph) != others.end();
    });
}

// The piece's clusters, each a range: Qt's layout gives each character the
// glyphs of its whole cluster, so characters whose glyphs overlap are one
// cluster. A character without a glyph of its own joins the cluster before
// it (at the start, the one after it).
void AddClusters(const QTextLine& line, const QString& text, qsizetype pieceFrom, QPointF origin,
                 std::vector<ShapedRange>& ranges) {
    qsizetype start = 0;
    std::vector<PlacedGlyph> cluster;
    const auto close = [&](qsizetype end) {
        ranges.push_back(
            ShapedRange{pieceFrom + start, end - start, origin,
                        line.glyphRuns(static_cast<int>(start), static_cast<int>(end - start))});
        start = end;
        cluster.clear();
    };
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length =
            text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2
                                                                                                : 1;
        const std::vector<PlacedGlyph> glyphs =
            PlacedGlyphs(line.glyphRuns(static_cast<int>(at), static_cast<int>(length)));
        if (!cluster.empty() && !glyphs.empty() && !Overlap(glyphs, cluster))
            close(at);
        cluster.insert(cluster.end(), glyphs.begin(), glyphs.end());
        at += length;
    }
    close(text.size());
}

} // namespace

QString LayoutString(const std::string& caption) {
    QString text = ToDisplay(caption);
    for (QChar& c : text) {
        if (BreaksLine(c))
            c = QLatin1Char(' ');
    }
    return text;
}

double LayoutDpi() {
    if (QGuiApplication::instance() == nullptr)
        return NoScreenDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : NoScreenDpi;
}

int MarginUnits(int tenths) {
    const double units = tenths * 0.1 * LayoutDpi();
    if (units >= INT_MAX)
        return INT_MAX;
    if (units <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(units);
}

int FontPixelSize(int points) {
    const int size = points == 0 ? DefaultPoints : std::abs(points);
    const auto pixels = std::lround(static_cast<double>(size) * LayoutDpi() / 72.0);
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}

QFont LayoutFont(const std::string& name, int pixelSize, bool bold) {
    return FontOfFamily(EmbeddableFamily(name, bold), pixelSize, bold);
}

ShapedText ShapeText(const QFont& font, const QString& text) {
    ShapedText shaped;
    const qreal ascent = TextAscent(font);
    shaped.Width = ForEachPiece(font, text, [&](qsizetype from, qsizetype length, qreal left) {
        QTextLayout layout(text.mid(from, length), font);
        const QTextLine line = LayOutPiece(layout);
        const QPointF origin(left, ascent - line.ascent());
        QList<QGlyphRun> runs = line.glyphRuns();
        if (OneForOne(runs, layout.text()))
            shaped.Ranges.push_back(ShapedRange{from, length, origin, std::move(runs)});
        else
            AddClusters(line, layout.text(), from, origin, shaped.Ranges);
        return line.horizontalAdvance();
    });
    return shaped;
}

qreal AfterTab(qreal left, qreal spaceWidth) {
    const qreal tabStop = TabColumns * spaceWidth;
    return tabStop > 0 ? (std::floor(left / tabStop) + 1) * tabStop : left;
}

int TextWidth(const QFont& font, const QString& text) {
    const qreal width = ForEachPiece(font, text, [&](qsizetype from, qsizetype length, qreal) {
        QTextLayout layout(text.mid(from, length), font);
        return LayOutPiece(layout).horizontalAdvance();
    });
    return static_cast<int>(std::ceil(width));
}

qreal TextAscent(const QFont& font) {
    return QFontMetricsF(font).ascent();
}

int TextHeight(const QFont& font) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).height()));
}

} // namespace pembrill
