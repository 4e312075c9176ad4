#include "gFormHistogram.h"

#include "gDataPlotGeometry.h"

namespace kestrova {

namespace {

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

// A light grey line, dashed or solid, then the black solid pen again.
void greyLine(DrawingTarget& target, double x1, double y1, double x2, double y2, Qt::PenStyle style)
{
    target.setColour(kGridColour);
    target.setDashStyle(style);
    target.line(x1, y1, x2, y2);
    target.setColour(Qt::black);
    target.setDashStyle(Qt::SolidLine);
}

}  // namespace

HistogramGeometry DrawHistogram(DrawingTarget& target, const HistogramContent& content, int lineWidth, int frameWidth)
{
    const double sw = target.scaleWidth();
    const double sh = target.scaleHeight();
    const HistogramGeometry g = histogramGeometry(sw, sh);
    const PlotDistances d = PlotDistancesFor(sh);
    const double left = g.plotLeft - g.halfBin;
    const double right = g.plotLeft + g.plotWidth + g.halfBin;
    const double bottom = g.bottom();

    target.setColour(Qt::black);
    target.setDashStyle(Qt::SolidLine);
    target.setLineWidth(lineWidth);
    const QString title = qText(content.title);
    printAt(target, title, (sw - target.textWidth(title)) / 2.0, d.dTitle);

    target.setLineWidth(frameWidth);
    target.rectangle(left, g.plotTop, right, bottom);

    target.setLineWidth(lineWidth);
    if (content.yScaleLin) {
        for (const std::int32_t x : histogramGridX(content.scales, g))
            greyLine(target, x, g.plotTop, x, bottom, Qt::DashLine);
    }

    // The markers' labels sit just above the plot, centred on their lines.
    for (const HistogramMarker& marker : content.markers) {
        const double x = binX(g, marker.x);
        greyLine(target, x, g.plotTop, x, bottom, Qt::SolidLine);
        const QString label = qText(marker.label);
        printAt(target, label, x - target.textWidth(label) / 2.0, g.plotTop - target.textHeight(label) - d.dTick / 2.0);
    }

    const QString minimum = qText(content.minimum);
    const QString maximum = qText(content.maximum);
    printAt(target, minimum, left, bottom + d.dXLabel);
    printAt(target, maximum, right - target.textWidth(maximum), bottom + d.dXLabel);
    const QString xTitle = QStringLiteral("Intensity");
    printAt(target, xTitle, (sw - target.textWidth(xTitle)) / 2.0, bottom + d.dXTitle);

    for (const HistogramTick& tick : histogramYTicks(content.scales, g)) {
        target.line(left, tick.y, left - d.dTick, tick.y);
        const QString label = qText(tick.label);
        printAt(target, label, left - d.dYLabel - target.textWidth(label), tick.y - target.textHeight(label) / 2.0);
        if (tick.grid)
            greyLine(target, left, tick.y, right, tick.y, Qt::DashLine);
    }
    const QString yTitle = qText(content.yTitle);
    printAt(target, yTitle, left, d.dYTitle);

    target.setLineWidth(frameWidth);
    const std::vector<PlotPoint> outline = histogramOutline(content.histogram, content.scales, g, content.yScaleLin);
    for (std::size_t i = 1; i < outline.size(); ++i)
        target.line(outline[i - 1].x, outline[i - 1].y, outline[i].x, outline[i].y);
    return g;
}

}  // namespace kestrova
