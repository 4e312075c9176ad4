#include "gFormPlot.h"

#include <cmath>

#include "NumberFormat.h"

namespace kestrova {

namespace {

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

// A dashed grey grid line, then the pen of the ticks again.
void gridLine(DrawingTarget& target, double x1, double y1, double x2, double y2, int tickWidth)
{
    target.setLineWidth(1);
    target.setColour(kGridColour);
    target.setDashStyle(Qt::DashLine);
    target.line(x1, y1, x2, y2);
    target.setLineWidth(tickWidth);
    target.setColour(Qt::black);
    target.setDashStyle(Qt::SolidLine);
}

void xTick(DrawingTarget& target, const PlotScale& scale, const PlotGeometry& g, const PlotDistances& d, double x,
           const QString& label, int tickWidth)
{
    const double bottom = g.bottom();
    target.line(x, bottom, x, bottom + d.dTick);
    printAt(target, label, x - target.textWidth(label) / 2.0, bottom + d.dXLabel);
    if (x - g.plotLeft > scale.pixelStep && g.plotLeft + g.plotW - x > scale.pixelStep)
        gridLine(target, x, bottom, x, g.plotTop, tickWidth);
}

void drawXAxis(DrawingTarget& target, const PlotContent& content, const PlotGeometry& g, const PlotDistances& d,
               int tickWidth)
{
    const PlotScale& scale = content.scale;
    if (scale.wavelengthMode && content.wavelengths) {
        for (const WavelengthTick& tick : WavelengthTicks(scale, *content.wavelengths))
            xTick(target, scale, g, d, roundHalfEven(ColumnX(scale, g, tick.position)),
                  qText(formatNumber(tick.value, "###0.0")), tickWidth);
        return;
    }
    for (const std::int32_t p : PixelTicks(scale))
        xTick(target, scale, g, d, roundHalfEven(ColumnX(scale, g, p)), qText(formatNumber(p, "###0")), tickWidth);
}

void drawYAxis(DrawingTarget& target, const PlotScale& scale, const PlotGeometry& g, const PlotDistances& d,
               int tickWidth)
{
    const double left = g.plotLeft - g.half;
    for (const double v : YTicks(scale)) {
        const double y = roundHalfEven(ScaledY(scale, g, v));
        target.line(left, y, g.plotLeft - 2.0 * g.half - d.dTick, y);
        const QString label = qText(formatNumber(v / scale.yMult, scale.tickFormat));
        printAt(target, label, left - d.dYLabel - target.textWidth(label), y - target.textHeight(label) / 2.0);
        if (scale.yLoS + scale.yStep / 5.0 < v && v < scale.yHiS - scale.yStep / 5.0)
            gridLine(target, left, y, g.plotLeft + g.plotW, y, tickWidth);
    }
}

}  // namespace

PlotGeometry DrawPlot(DrawingTarget& target, const PlotContent& content, int tickWidth, int lineWidth)
{
    const PlotScale& scale = content.scale;
    const double sw = target.scaleWidth();
    const double sh = target.scaleHeight();
    const PlotGeometry g = PlotGeometryFor(scale, sw, sh);
    const PlotDistances d = PlotDistancesFor(sh);

    target.setColour(Qt::black);
    target.setDashStyle(Qt::SolidLine);
    const QString title = qText(content.title);
    printAt(target, title, (sw - target.textWidth(title)) / 2.0, d.dTitle);

    target.setLineWidth(lineWidth);
    target.rectangle(g.plotLeft - g.half, g.plotTop, g.plotLeft + g.plotW + g.half, g.bottom());

    target.setLineWidth(tickWidth);
    drawXAxis(target, content, g, d, tickWidth);
    const QString xTitle = qText(PlotXTitle(scale.wavelengthMode && content.wavelengths));
    printAt(target, xTitle, (sw - target.textWidth(xTitle)) / 2.0, g.bottom() + d.dXTitle);

    drawYAxis(target, scale, g, d, tickWidth);
    const QString yTitle = qText(content.yTitle);
    printAt(target, yTitle, g.plotLeft - target.textWidth(yTitle) / 2.0, d.dYTitle);

    target.setLineWidth(lineWidth);
    const std::vector<PlotPoint> outline = StepOutline(scale, g, content.projection, content.mean);
    for (std::size_t i = 1; i < outline.size(); ++i)
        target.line(outline[i - 1].x, outline[i - 1].y, outline[i].x, outline[i].y);
    return g;
}

}  // namespace kestrova
