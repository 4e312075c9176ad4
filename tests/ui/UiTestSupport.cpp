#include "UiTestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "gFormPictureBox.h"

namespace uitest {

UiFixture::UiFixture(const std::function<void(UiFixture&)>& before)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    QDir().mkpath(workFolder());
    QDir().mkpath(dataFolder());
    previousTmp_ = qgetenv("TMP");
    previousAppData_ = qgetenv("AppData");
    qputenv("TMP", workFolder().toLocal8Bit());
    qputenv("AppData", (folder() + QStringLiteral("/appdata")).toLocal8Bit());

    previousMessages_ = kestrova::setMessageHandler([this](const QString& text) { messages << text; });
    previousFiles_ = kestrova::setFileDialogHandler([this](const kestrova::FileDialogRequest& request) {
        fileRequests << request;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    });
    previousPrint_ = kestrova::setPrintDialogHandler(
        [this](QPrinter& printer) { return printAnswer ? printAnswer(printer) : false; });

    if (before)
        before(*this);
    state_ = std::make_unique<kestrova::ProgramState>();
    window_ = std::make_unique<kestrova::frmMainMenufrm>(*state_);
    window_->resize(1200, 900);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        throw std::runtime_error("the main window was not shown");
}

UiFixture::~UiFixture()
{
    window_->close();
    window_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    kestrova::setMessageHandler(previousMessages_);
    kestrova::setFileDialogHandler(previousFiles_);
    kestrova::setPrintDialogHandler(previousPrint_);
    qputenv("TMP", previousTmp_);
    qputenv("AppData", previousAppData_);
}

QAction* UiFixture::action(const char* name)
{
    auto* found = window_->findChild<QAction*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no menu item ") + name);
    return found;
}

kestrova::PictureBox* UiFixture::box(const char* name)
{
    return widget<kestrova::PictureBox>(name);
}

bool UiFixture::isEnabled(const char* name)
{
    return action(name)->isEnabled();
}

bool UiFixture::trigger(const char* name)
{
    QAction* item = action(name);
    // A user reaches an item only through enabled menus.
    for (QObject* up = item->parent(); up; up = up->parent()) {
        if (auto* menu = qobject_cast<QMenu*>(up); menu && !menu->menuAction()->isEnabled())
            return false;
    }
    if (!item->isEnabled())
        return false;
    item->trigger();
    QCoreApplication::processEvents();
    return true;
}

QString UiFixture::text(const char* labelName)
{
    auto* label = window_->findChild<QLabel*>(QString::fromLatin1(labelName));
    if (!label)
        throw std::runtime_error(std::string("no label ") + labelName);
    return label->text();
}

QWidget* UiFixture::child(const char* name)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* widget : window_->findChildren<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly)) {
        if (widget->isVisible())
            return widget;
    }
    return nullptr;
}

bool UiFixture::openThroughMenu(const QString& path)
{
    fileAnswers = QStringList{path};
    trigger("mnuFileOpen");
    return window_->windowState() == kestrova::MainWindowState::Image;
}

void UiFixture::moveMouse(double x, double y)
{
    kestrova::PictureBox* box = this->box("picBox2");
    const QPointF at = box->fromUser({x, y});
    QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString UiFixture::prepareProgram(QProcess& program) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMP"), workFolder());
    environment.insert(QStringLiteral("AppData"), folder() + QStringLiteral("/appdata"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Kestrova");
}

void openWideImage(UiFixture& f)
{
    std::vector<int> pixels(2048 * 512);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<int>(i % 251);
    writePgm(f.dataFile("wide.pgm"), 2048, 512, 255, pixels);
    if (!f.openThroughMenu(f.dataFile("wide.pgm")))
        throw std::runtime_error("the wide image did not open");
}

void writePgm(const QString& path, int width, int height, int maxValue, const std::vector<int>& bottomFirst)
{
    // The converter keeps the raster order: the file's first row is the program's row 1.
    QByteArray bytes = QStringLiteral("P5\n%1 %2\n%3\n").arg(width).arg(height).arg(maxValue).toLatin1();
    for (int value : bottomFirst) {
        if (maxValue > 255)
            bytes.append(static_cast<char>(value >> 8));
        bytes.append(static_cast<char>(value & 0xFF));
    }
    writeText(path, bytes);
}

bool writeFloatFits(const QString& path, int width, int height, const std::vector<float>& bottomFirst)
{
    const auto [lowest, highest] = std::minmax_element(bottomFirst.begin(), bottomFirst.end());
    QByteArray ksv = QStringLiteral("KSV V000\r -32\r %1\r %2\r %3\r %4\r")
                         .arg(width)
                         .arg(height)
                         .arg(static_cast<double>(*lowest), 0, 'f', 6)
                         .arg(static_cast<double>(*highest), 0, 'f', 6)
                         .toLatin1();
    ksv.resize(256, '\0');
    ksv.append(reinterpret_cast<const char*>(bottomFirst.data()),
               static_cast<qsizetype>(bottomFirst.size() * sizeof(float)));
    const QString ksvPath = path + QStringLiteral(".ksv");
    writeText(ksvPath, ksv);
    const int code =
        QProcess::execute(QCoreApplication::applicationDirPath() + QStringLiteral("/ksv2fit"), {ksvPath, path});
    QFile::remove(ksvPath);
    return code == 0;
}

Bitmap readBitmap32(const QString& path)
{
    const QByteArray bytes = readFile(path);
    Bitmap bitmap;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return bitmap;
    const auto u32 = [&bytes](int at) {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.constData() + at, 4);
        return value;
    };
    const std::uint32_t offset = u32(10);
    const auto width = static_cast<std::int32_t>(u32(18));
    const auto height = static_cast<std::int32_t>(u32(22));
    const auto bits = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[28]) |
                                                 (static_cast<unsigned char>(bytes[29]) << 8));
    if (bits != 32 || width <= 0 || height <= 0 ||
        bytes.size() < static_cast<qsizetype>(offset) + static_cast<qsizetype>(width) * height * 4)
        return bitmap;
    bitmap.width = width;
    bitmap.height = height;
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(width) * height; ++i) {
        bitmap.grey.push_back(static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(offset + i * 4)]));
        bitmap.fourth.push_back(static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(offset + i * 4 + 3)]));
    }
    return bitmap;
}

long roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return static_cast<long>(floor) + 1;
    if (fraction < 0.5)
        return static_cast<long>(floor);
    return static_cast<long>(floor) % 2 == 0 ? static_cast<long>(floor) : static_cast<long>(floor) + 1;
}

}  // namespace uitest
