// The window layer: the picture view (zoom keeping the place, pixel-level viewing of a large
// frame, the pixel under the mouse), the child window table and the command line.

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "UiTestSupport.h"
#include "gFormPictureBox.h"
#include "gFormWindows.h"

using uitest::UiFixture;

namespace {

// A 6144 x 4096 frame whose columns alternate between 0 and 255, written once.
QString largeFrame()
{
    static QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/large.pgm");
    if (!QFileInfo::exists(path)) {
        QByteArray bytes("P5\n6144 4096\n255\n");
        QByteArray row(6144, '\0');
        for (int x = 1; x < 6144; x += 2)
            row[x] = static_cast<char>(255);
        for (int y = 0; y < 4096; ++y)
            bytes.append(row);
        uitest::writeText(path, bytes);
    }
    return path;
}

// The read-out (column, row) for a point of picBox2's inner area, in screen pixels.
QPoint readOutAt(UiFixture& f, QPoint inner)
{
    kestrova::PictureBox* box = f.box("picBox2");
    const QPointF at = QPointF(inner + box->contentsRect().topLeft());
    QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    return {f.text("lblvalX").toInt(), f.text("lblvalY").toInt()};
}

// The point of picBox2's inner area at the centre of the viewport.
QPoint viewportCentre(UiFixture& f)
{
    QWidget* inner = f.widget<QWidget>("picBox1Inner");
    kestrova::PictureBox* box = f.box("picBox2");
    return box->mapFrom(inner, inner->rect().center()) - box->contentsRect().topLeft();
}

bool near(QPoint a, QPoint b)
{
    return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1;
}

QProcess* startProgram(UiFixture& f, const QStringList& arguments)
{
    auto* program = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMP"), f.workFolder());
    environment.insert(QStringLiteral("AppData"), f.folder() + QStringLiteral("/appdata"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program->setProcessEnvironment(environment);
    program->start(QCoreApplication::applicationDirPath() + QStringLiteral("/Kestrova"), arguments);
    program->waitForFinished(120000);
    return program;
}

}  // namespace

class WindowLayerTest : public QObject {
    Q_OBJECT

private slots:
    void zoomStepsKeepTheCentrePixel();
    void controlWheelZoomsUnderTheMouse();
    void largeFrameReachesActualPixelsAndBeyond();
    void everyDeclaredWindowOpensAndClosesOnItsEvents();
    void refreshReopensOpenWindowsInTheirOrder();
    void commandLineZoomAndInformation();
    void filesTitleAndDrop();
    void enterAndEscapeInEveryDialog_data();
    void enterAndEscapeInEveryDialog();
};

void WindowLayerTest::zoomStepsKeepTheCentrePixel()
{
    UiFixture f;
    openWideImage(f);
    QVERIFY(f.trigger("mnuImageZoom200"));
    f.widget<QScrollBar>("hsbBox1")->setValue(300 * 15);
    const QPoint centre = readOutAt(f, viewportCentre(f));
    // Steps that leave the picture wider than the viewport.
    for (const char* step : {"mnuImageZoomZoomIn", "mnuImageZoomZoomIn", "mnuImageZoomZoomOut", "mnuImageZoom200"}) {
        QVERIFY(f.trigger(step));
        QVERIFY2(near(readOutAt(f, viewportCentre(f)), centre), step);
    }
}

void WindowLayerTest::controlWheelZoomsUnderTheMouse()
{
    UiFixture f;
    openWideImage(f);
    QVERIFY(f.trigger("mnuImageZoom200"));
    kestrova::PictureBox* box = f.box("picBox2");
    QWidget* viewport = f.widget<QWidget>("picBox1Inner");
    // A point of picBox2's inner area, and the same place of the viewport.
    const auto inPicture = [box, viewport](QPoint inViewport) {
        return box->mapFrom(viewport, inViewport) - box->contentsRect().topLeft();
    };
    const QPoint mouse = viewport->rect().center() - QPoint(300, 50);
    const QPoint pixel = readOutAt(f, inPicture(mouse));
    const QPointF at = QPointF(inPicture(mouse) + box->contentsRect().topLeft());
    QWheelEvent up(at, box->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                   false);
    QApplication::sendEvent(box, &up);
    QCOMPARE(f.state().zoom.zoomText, std::string("240.00"));
    QVERIFY(f.action("mnuImageZoomZoomIn")->isChecked());
    // The picture moved, not the mouse: the same image column lies under it (the picture is
    // lower than the viewport, which grows with it).
    QVERIFY(std::abs(readOutAt(f, inPicture(mouse)).x() - pixel.x()) <= 1);
    QWheelEvent down(at, box->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &down);
    QCOMPARE(f.state().zoom.zoomText, std::string("200.00"));
}

void WindowLayerTest::largeFrameReachesActualPixelsAndBeyond()
{
    UiFixture f;
    QVERIFY(f.openThroughMenu(largeFrame()));
    kestrova::PictureBox* box = f.box("picBox2");
    QVERIFY(f.trigger("mnuImageZoomActualPixels"));
    QCOMPARE(f.state().zoom.zoomText, std::string("600.00"));
    QVERIFY(f.action("mnuImageZoomCustom")->isChecked());
    QCOMPARE(box->pictureSize(), QSize(6144, 4096));
    // One screen pixel per image pixel: the columns alternate on the screen.
    const QImage shown = f.widget<QWidget>("picBox1Inner")->grab().toImage();
    for (int x = 1; x < 200; ++x)
        QVERIFY(qGray(shown.pixel(x, 10)) != qGray(shown.pixel(x - 1, 10)));

    // 32 screen pixels per image pixel.
    QVERIFY(f.window().applyCustomZoom("19200"));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(box->pictureSize(), QSize(196608, 131072));
    const int left = (-box->x() / 32 + 4) * 32;  // a visible screen column at a pixel's left edge
    const QPoint first = readOutAt(f, QPoint(left, 40));
    QCOMPARE(readOutAt(f, QPoint(left + 31, 40)), first);
    QCOMPARE(readOutAt(f, QPoint(left + 32, 40)), first + QPoint(1, 0));
    QCOMPARE(readOutAt(f, QPoint(left + 64, 40)), first + QPoint(2, 0));

    // The zoomed picture is never held whole, so it cannot be saved as a display bitmap.
    f.fileAnswers = QStringList{f.dataFile(QStringLiteral("display.bmp"))};
    QVERIFY(f.trigger("mnuFileSaveAsDisplay"));
    QCOMPARE(f.messages, QStringList{QStringLiteral("Error - when writing image to output file")});
    QVERIFY(!QFileInfo::exists(f.dataFile(QStringLiteral("display.bmp"))));
}

void WindowLayerTest::everyDeclaredWindowOpensAndClosesOnItsEvents()
{
    for (const kestrova::WindowEntry& entry : kestrova::childWindowTable()) {
        if (!entry.factory)
            continue;
        const QString name = QString::fromLatin1(entry.name);
        UiFixture f;
        openWideImage(f);
        QWidget* window = f.window().openWindow(name);
        QVERIFY2(window && window->isVisible() && window->objectName() == name, entry.name);
        QVERIFY(f.openThroughMenu(f.dataFile("wide.pgm")));
        QCOMPARE(f.window().isWindowOpen(name), !(entry.closedBy & kestrova::ClosedByFileOpen));
        f.window().openWindow(name);
        QVERIFY(f.trigger("mnuFileClose"));
        QCOMPARE(f.window().isWindowOpen(name), !(entry.closedBy & kestrova::ClosedByFileClose));
        f.window().openWindow(name);
        f.window().close();
        QCOMPARE(f.window().isWindowOpen(name), !(entry.closedBy & kestrova::ClosedByExit));
    }
    // The analyses come back in a fixed order.
    std::vector<kestrova::WindowEntry> reopened;
    for (const kestrova::WindowEntry& entry : kestrova::childWindowTable()) {
        if (entry.reopenOrder > 0)
            reopened.push_back(entry);
    }
    std::sort(reopened.begin(), reopened.end(),
              [](const auto& a, const auto& b) { return a.reopenOrder < b.reopenOrder; });
    QStringList names;
    for (const kestrova::WindowEntry& entry : reopened)
        names << QString::fromLatin1(entry.name);
    QCOMPARE(names,
             (QStringList{kestrova::windows::kSpectrum, kestrova::windows::kProfile, kestrova::windows::kCentroid,
                          kestrova::windows::kHistogram, kestrova::windows::kRegionDisplay}));
}

namespace {

struct NoServices : kestrova::WindowServices {
    void refresh(kestrova::Change) override {}
    bool applyCustomZoom(const std::string&) override { return true; }
};

}  // namespace

void WindowLayerTest::refreshReopensOpenWindowsInTheirOrder()
{
    QStringList built;
    const auto factory = [&built](const char* name) {
        return [&built, name](const kestrova::WindowContext& context) {
            built << QString::fromLatin1(name);
            return new QWidget(context.owner, Qt::Dialog);
        };
    };
    using kestrova::Change;
    const std::vector<kestrova::WindowEntry> table{
        {"third", nullptr, factory("third"), kestrova::ClosedByExit, 3, kestrova::changeSet(Change::Regions)},
        {"first", nullptr, factory("first"), kestrova::ClosedByExit, 1,
         kestrova::changeSet(Change::Regions, Change::MeanSum)},
        {"dialog", nullptr, factory("dialog"), kestrova::ClosedByExit, 0, kestrova::changeSet(Change::Regions)},
        {"second", nullptr, factory("second"), kestrova::ClosedByExit, 2, kestrova::changeSet(Change::Regions)},
        {"closed", nullptr, factory("closed"), kestrova::ClosedByExit, 4, kestrova::changeSet(Change::Regions)},
    };
    QWidget owner;
    kestrova::ProgramState state;
    NoServices services;
    kestrova::ChildWindows windows(table, &owner, state, services, [](const char*) { return nullptr; });
    for (const char* name : {"third", "dialog", "first", "second"})
        windows.open(QString::fromLatin1(name));
    built.clear();
    windows.reopenAfter(Change::Regions);
    QCOMPARE(built, (QStringList{"first", "second", "third"}));
    built.clear();
    windows.reopenAfter(Change::MeanSum);
    QCOMPARE(built, QStringList{"first"});
    QVERIFY(windows.isOpen(QStringLiteral("dialog")));
    windows.closeOn(kestrova::ClosedByExit);
    QVERIFY(!windows.isOpen(QStringLiteral("first")));
}

void WindowLayerTest::commandLineZoomAndInformation()
{
    UiFixture f;
    const QString screenshot = f.folder() + QStringLiteral("/shot.png");
    std::unique_ptr<QProcess> run(startProgram(f, {largeFrame(), QStringLiteral("--zoom"), QStringLiteral("600"),
                                                   QStringLiteral("--screenshot=") + screenshot}));
    QCOMPARE(run->exitCode(), 0);
    const QImage shot(screenshot);
    QVERIFY(!shot.isNull());
    // Along the middle row the viewport shows the columns one for one: a long run of alternation.
    int longest = 0;
    int alternating = 0;
    const int y = shot.height() / 2;
    for (int x = 1; x < shot.width(); ++x) {
        const int a = qGray(shot.pixel(x - 1, y));
        const int b = qGray(shot.pixel(x, y));
        alternating = ((a == 0 && b == 255) || (a == 255 && b == 0)) ? alternating + 1 : 0;
        longest = std::max(longest, alternating);
    }
    QVERIFY2(longest > 500, QByteArray::number(longest));

    run.reset(startProgram(f, {QStringLiteral("--version")}));
    QCOMPARE(run->exitCode(), 0);
    QVERIFY(run->readAllStandardOutput().contains("Kestrova 1.0.0"));
    run.reset(startProgram(f, {QStringLiteral("--help")}));
    QCOMPARE(run->exitCode(), 0);
    QVERIFY(run->readAllStandardOutput().contains("--zoom"));
}

void WindowLayerTest::filesTitleAndDrop()
{
    UiFixture f;
    openWideImage(f);
    QCOMPARE(f.window().windowTitle(), QStringLiteral("wide.pgm \u2013 Kestrova"));
    QVERIFY(f.fileRequests.constLast().filter.startsWith(
        QStringLiteral("All supported images (*.bmp *.fit *.fts *.fits *.pgm)|*.bmp *.fit *.fts *.fits *.pgm|Bitmap")));

    // A save name that is only an extension does nothing.
    for (const char* item : {"mnuFileSaveAsImage", "mnuFileSaveAsDisplay"}) {
        f.fileAnswers = QStringList{f.dataFile(QStringLiteral(".pgm"))};
        QVERIFY(f.trigger(item));
        QVERIFY2(!QFileInfo::exists(f.dataFile(QStringLiteral(".pgm"))), item);
    }
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.text("lblFN"), QStringLiteral("File name: wide.pgm   Display Thresholds: On"));

    // A name whose second character is "." is a name, not a cancelled dialog.
    QFile::copy(f.dataFile(QStringLiteral("wide.pgm")), f.dataFile(QStringLiteral("a.pgm")));
    const QString before = QDir::currentPath();
    QDir::setCurrent(f.dataFolder());
    const bool opened = f.openThroughMenu(QStringLiteral("a.pgm"));
    QDir::setCurrent(before);
    QVERIFY(opened);
    // The dialog started in the folder of the file opened last.
    QCOMPARE(f.fileRequests.constLast().folder, f.dataFolder());
    QCOMPARE(f.window().windowTitle(), QStringLiteral("a.pgm \u2013 Kestrova"));

    // A dropped file opens as File Open would.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.dataFile(QStringLiteral("wide.pgm")))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.window(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.window(), &drop);
    QCOMPARE(f.window().windowTitle(), QStringLiteral("wide.pgm \u2013 Kestrova"));

    QVERIFY(f.trigger("mnuFileClose"));
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Kestrova 1.0.0"));
}

void WindowLayerTest::enterAndEscapeInEveryDialog_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("openAfter");
    QTest::addColumn<QString>("zoomAfter");
    const auto row = [](const char* name, const char* item, const char* window, int key, bool open,
                        const char* zoom = "100") { QTest::newRow(name) << item << window << key << open << zoom; };
    // Enter is Set in the threshold dialogs (they stay open), OK in the custom zoom, Close elsewhere.
    row("per-cent Enter", "mnuImageDisplayThresholdsAsPerCentValues", kestrova::windows::kThresholdsPerCent,
        Qt::Key_Return, true);
    row("per-cent Escape", "mnuImageDisplayThresholdsAsPerCentValues", kestrova::windows::kThresholdsPerCent,
        Qt::Key_Escape, false);
    row("absolute Enter", "mnuImageDisplayThresholdsAsAbsoluteValues", kestrova::windows::kThresholdsAbsolute,
        Qt::Key_Enter, true);
    row("absolute Escape", "mnuImageDisplayThresholdsAsAbsoluteValues", kestrova::windows::kThresholdsAbsolute,
        Qt::Key_Escape, false);
    row("initial Enter", "mnuFileInitialDisplayThresholds", kestrova::windows::kInitialThresholds, Qt::Key_Return,
        true);
    row("initial Escape", "mnuFileInitialDisplayThresholds", kestrova::windows::kInitialThresholds, Qt::Key_Escape,
        false);
    row("zoom Enter", "mnuImageZoomCustom", kestrova::windows::kZoomCustom, Qt::Key_Return, false, "150");
    row("zoom Escape", "mnuImageZoomCustom", kestrova::windows::kZoomCustom, Qt::Key_Escape, false);
    row("information Enter", "mnuImageInformation", kestrova::windows::kInformation, Qt::Key_Return, false);
    row("information Escape", "mnuImageInformation", kestrova::windows::kInformation, Qt::Key_Escape, false);
    row("about Escape", "mnuHelpAbout", kestrova::windows::kAbout, Qt::Key_Escape, false);
}

void WindowLayerTest::enterAndEscapeInEveryDialog()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(bool, openAfter);
    QFETCH(QString, zoomAfter);
    UiFixture f;
    openWideImage(f);
    QVERIFY(f.trigger(item.toLatin1().constData()));
    QWidget* dialog = f.child(window.toLatin1().constData());
    QVERIFY(dialog);
    auto* text = dialog->findChild<QLineEdit*>();
    if (text) {
        // Typed into the first text box, as a user would before pressing the key.
        text->setFocus();
        const bool zoom = window == QLatin1String(kestrova::windows::kZoomCustom);
        text->setText(zoom ? QStringLiteral("150") : QStringLiteral("5"));
        QTest::keyClick(text, static_cast<Qt::Key>(key));
        // Set stored and showed the entry in its own format.
        if (openAfter && window != QLatin1String(kestrova::windows::kThresholdsAbsolute))
            QCOMPARE(text->text(), QStringLiteral("5.00"));
    } else {
        QTest::keyClick(dialog, static_cast<Qt::Key>(key));
    }
    QCOMPARE(f.child(window.toLatin1().constData()) != nullptr, openAfter);
    QCOMPARE(QString::fromStdString(f.state().zoom.zoomText), zoomAfter);
    QVERIFY(f.messages.isEmpty());
}

QTEST_MAIN(WindowLayerTest)
#include "WindowLayerTest.moc"
