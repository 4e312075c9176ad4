#include "frmAnalysisIntensityDistributionfrm.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "NumberFormat.h"
#include "gDataHistogram.h"
#include "gDataRoI.h"
#include "gForm.h"
#include "gFormHistogram.h"
#include "gFormPictureBox.h"
#include "gFormPlotOutputs.h"
#include "gFormServices.h"

namespace kestrova {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// The region's minimum or maximum in the image's threshold number format.
std::string extremeText(const PixelSource& pixels, bool maximum, const std::string& format)
{
    if (pixels.isFloat)
        return formatNumber(maximum ? pixels.floatMax : pixels.floatMin, format);
    return formatNumber(maximum ? pixels.intMax : pixels.intMin, format);
}

}  // namespace

frmAnalysisIntensityDistributionfrm::frmAnalysisIntensityDistributionfrm(const WindowContext& context)
    : ChildWindow(context, QStringLiteral("Histogram (Intensity Distribution)"))
{
    createControls();
    createMenus();
    if (menuItem_)
        menuItem_->setChecked(true);
    resize(760, 600);
    PrepareHistogram();
}

void frmAnalysisIntensityDistributionfrm::createControls()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("histogramArea"));
    area_->installEventFilter(this);
    column->addWidget(area_);

    picAxes_ = new PictureBox(area_);
    picAxes_->setObjectName(QStringLiteral("picAxes"));
    picAxes_->setFixedSingleBorder(true);
    connect(picAxes_, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons, double x, double) { picAxes_MouseMove(x); });

    fraValues_ = new QGroupBox(QStringLiteral("Values"), area_);
    fraValues_->setObjectName(QStringLiteral("fraValues"));
    auto* row = new QHBoxLayout(fraValues_);
    row->setContentsMargins(8, 2, 8, 2);
    row->addWidget(addLabel(fraValues_, "lblI", QStringLiteral("Intensity:")));
    lblvalI_ = addLabel(fraValues_, "lblvalI", QString());
    lblvalI_->setFixedWidth(90);
    lblvalI_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(lblvalI_);
    row->addSpacing(16);
    row->addWidget(addLabel(fraValues_, "lblZ", QStringLiteral("Number of Pixels:")));
    lblvalZ_ = addLabel(fraValues_, "lblvalZ", QString());
    lblvalZ_->setFixedWidth(90);
    lblvalZ_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(lblvalZ_);
    fraValues_->setFixedSize(fraValues_->sizeHint().width(), std::min(fraValues_->sizeHint().height(), 50));

    cmdClose_ = addButton("cmdClose", QStringLiteral("&Close"));
    cmdClose_->setParent(area_);
    setDefaultButton(cmdClose_);
    connect(cmdClose_, &QPushButton::clicked, this, [this] { close(); });
}

void frmAnalysisIntensityDistributionfrm::createMenus()
{
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("histogramMenuBar"));
    layout()->setMenuBar(bar);
    const CommandItems item{this};
    HistogramSettings& settings = state_.histogramSettings;
    const auto option = [this, &settings](bool HistogramSettings::*field, bool value) {
        return [this, &settings, field, value] {
            settings.*field = value;
            optionsChanged();
        };
    };

    QMenu* file = addMenu(this, "mnuFile", QStringLiteral("&File"));
    bar->addMenu(file);
    QMenu* save = addMenu(file, "mnuFileSaveAs", QStringLiteral("&Save AS"));
    file->addMenu(save);
    const auto suggested = [this] { return SuggestedOutputName(state_.image, QStringLiteral("-Histogram")); };
    item(save, "mnuFileDisplaySaveAs", QStringLiteral("&Display..."),
         [this, suggested] { SaveAsDisplay(this, state_, *picAxes_, suggested()); });
    item(save, "mnuFileValuesSaveAs", QStringLiteral("&Values..."), [this, suggested] {
        SaveAsValues(this, suggested(), [this] { return histogramValuesText(state_.regionHistogram); });
    });
    item(file, "mnuFilePrint", QStringLiteral("&Print..."), [this] {
        PrintDrawing(this, services_.printSettings(), [this](DrawingTarget& target, int lineWidth, int frameWidth) {
            draw(target, lineWidth, frameWidth);
        });
    });
    item(file, "mnuFileExit", QStringLiteral("E&xit"), [this] { close(); });

    QMenu* options = addMenu(this, "mnuOptions", QStringLiteral("&Options"));
    bar->addMenu(options);
    QMenu* yScale = addMenu(options, "mnuOptionsYScale", QStringLiteral("&Y Scale"));
    options->addMenu(yScale);
    mnuOptionsYScaleLin_ =
        item(yScale, "mnuOptionsYScaleLin", QStringLiteral("L&in"), option(&HistogramSettings::YScaleLin, true), true);
    mnuOptionsYScaleLog_ =
        item(yScale, "mnuOptionsYScaleLog", QStringLiteral("L&og"), option(&HistogramSettings::YScaleLin, false), true);
    QMenu* thresholds = addMenu(options, "mnuOptionsThresholds", QStringLiteral("&Thresholds"));
    options->addMenu(thresholds);
    mnuOptionsDataThresholds_ = item(thresholds, "mnuOptionsDataThresholds", QStringLiteral("D&ata"),
                                     option(&HistogramSettings::MarkDataThresholds, true), true);
    mnuOptionsDisplayThresholds_ = item(thresholds, "mnuOptionsDisplayThresholds", QStringLiteral("D&isplay"),
                                        option(&HistogramSettings::MarkDataThresholds, false), true);
}

void frmAnalysisIntensityDistributionfrm::updateOptionChecks()
{
    const HistogramSettings& settings = state_.histogramSettings;
    mnuOptionsYScaleLin_->setChecked(settings.YScaleLin);
    mnuOptionsYScaleLog_->setChecked(!settings.YScaleLin);
    mnuOptionsDataThresholds_->setChecked(settings.MarkDataThresholds);
    mnuOptionsDisplayThresholds_->setChecked(!settings.MarkDataThresholds);
}

void frmAnalysisIntensityDistributionfrm::PrepareHistogram()
{
    updateOptionChecks();
    BuildRegion(state_.image, state_.roi, state_.resultFlags, state_.region);
    scales_ = kestrova::PrepareHistogram(state_);
    // Re-centred each time, unless the user has maximised or minimised the window.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        centreOnScreen(this);
    Form_Resize();
}

void frmAnalysisIntensityDistributionfrm::optionsChanged()
{
    updateOptionChecks();
    scales_ = histogramScalesFor(state_.regionHistogram, state_.histogramSettings.YScaleLin);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        centreOnScreen(this);
    Form_Resize();
}

void frmAnalysisIntensityDistributionfrm::unload()
{
    if (menuItem_)
        menuItem_->setChecked(false);
}

bool frmAnalysisIntensityDistributionfrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == area_ && event->type() == QEvent::Resize)
        Form_Resize();
    return ChildWindow::eventFilter(watched, event);
}

void frmAnalysisIntensityDistributionfrm::Form_Resize()
{
    const double twips = twipsPerPixel(area_);
    const double width = area_->width() * twips;
    const double height = area_->height() * twips;
    if (width <= 480.0 || height <= 1080.0)
        return;
    const auto px = [this](double value) { return pixelsFromTwips(value, area_); };
    const int areaWidth = area_->width();
    const int plotWidth = px(width - 480.0);
    picAxes_->setGeometry((areaWidth - plotWidth) / 2, px(240.0), plotWidth, std::max(1, px(height - 1400.0)));
    fraValues_->move((areaWidth - fraValues_->width()) / 2, px(height - 1110.0));
    cmdClose_->move((areaWidth - cmdClose_->width()) / 2, px(height - 360.0));

    picAxes_->clearPicture();
    picAxes_->resetUserScale();
    picAxes_->draw([this](DrawingTarget& target) { geometry_ = draw(target, 1, 1); });
}

HistogramContent frmAnalysisIntensityDistributionfrm::content() const
{
    const ImageStore& image = state_.image;
    const RegionArray& region = state_.region;
    const PixelSource pixels = PixelSource::of(region, image.isFloat);
    const HistogramSettings& settings = state_.histogramSettings;
    return HistogramContent{
        state_.regionHistogram,
        scales_,
        settings.YScaleLin,
        histogramMarkers(pixels, region, settings, state_.displayThresholds, state_.dataThresholds, image.valueFormat),
        "File name: " + image.imageBaseName + image.imageExtension,
        histogramYTitle(settings.YScaleLin, state_.roi.RoI1On, region),
        "Min " + extremeText(pixels, false, image.valueFormat),
        "Max " + extremeText(pixels, true, image.valueFormat),
    };
}

HistogramGeometry frmAnalysisIntensityDistributionfrm::draw(DrawingTarget& target, int lineWidth, int frameWidth) const
{
    return DrawHistogram(target, content(), lineWidth, frameWidth);
}

void frmAnalysisIntensityDistributionfrm::picAxes_MouseMove(double x)
{
    const std::optional<int> bin = histogramBinAt(x, geometry_);
    if (!bin) {
        lblvalI_->clear();
        lblvalZ_->clear();
        return;
    }
    const HistogramReadOut values = histogramReadOut(PixelSource::of(state_.region, state_.image.isFloat),
                                                     state_.regionHistogram, scales_, *bin, state_.image.valueFormat);
    lblvalI_->setText(qs(values.intensity));
    lblvalZ_->setText(qs(values.count));
}

}  // namespace kestrova
