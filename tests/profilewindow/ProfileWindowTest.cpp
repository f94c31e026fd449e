// Scenario tests of the profile window and the commands that reach it, on
// the offscreen platform: a whole 256-section curve through the table, the
// clipboard and a CSV file without loss; the highlight and the table row in
// step with the main window both ways; saving that fails leaves no file; a
// radius typed here gives the main window the length for it.
#include "profilewindow/ProfileWindow.h"
#include "profilewindow/ProfilePlot.h"
#include "tests/common/WindowHarness.h"
#include "text/NumberText.h"
#include "text/SectionTableText.h"
#include "widgets/ElidingLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QSvgGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/mount.h>
#include <unistd.h>

using namespace pendrio;

namespace {

// What a section's row must hold, read straight from the stored profile: the
// number, the distance to its start, then the stored values in the table's
// order, gradients converted to degrees.
std::vector<double> storedRow(const ProfileState& p, int i) {
    return {double(i),
            double(i - 1) / p.SectionCount * p.TrackLength,
            p.SectionLength,
            p.SectionCoeff2.at(i),
            p.SectionCoeff1.at(i),
            p.SectionHeight.at(i),
            RadiansToDegrees(p.SectionStartAngle.at(i)),
            RadiansToDegrees(p.SectionEndAngle.at(i))};
}

// The double that 15 significant digits of `value` denote.
double roundedTo15Digits(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr);
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The plot as an exported image draws it, as SVG text.
QByteArray plotAsSvg(const ProfilePlot* plot) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    {
        QPainter painter(&svg);
        plot->painter().paint(painter, QRectF(0, 0, 600, 300), PlotColours::forFiles());
    }
    return buffer.data();
}

// Where the window draws one thing over another, or shows a text cut
// without a way to read it whole: empty when nothing is wrong.
QStringList layoutFaults(const QWidget* window) {
    QStringList faults;
    QList<const QWidget*> placed;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const bool leaf =
            qobject_cast<const QLabel*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
            qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget) ||
            qobject_cast<const QTabBar*>(widget) || qobject_cast<const ProfilePlot*>(widget);
        if (leaf && widget->isVisible() && !widget->size().isEmpty()) {
            placed << widget;
        }
    }
    const auto rectOf = [&](const QWidget* w) {
        return QRect(w->mapTo(window, QPoint()), w->size());
    };
    for (qsizetype i = 0; i < placed.size(); ++i) {
        for (qsizetype j = i + 1; j < placed.size(); ++j) {
            const QWidget* a = placed[i];
            const QWidget* b = placed[j];
            if (!a->isAncestorOf(b) && !b->isAncestorOf(a) && rectOf(a).intersects(rectOf(b))) {
                faults << QStringLiteral("%1 over %2").arg(a->objectName(), b->objectName());
            }
        }
        const auto* label = qobject_cast<const ElidingLabel*>(placed[i]);
        if (!label) {
            continue;
        }
        const int lines = int(label->text().count(u'\n')) + 1;
        if (label->height() < lines * label->fontMetrics().lineSpacing()) {
            faults << label->objectName() + QStringLiteral(" lower than its lines");
        }
        // A cut line ends after a whole word: a number is never cut in two.
        const QStringList whole = label->fullText().split(u'\n');
        const QStringList shown = label->text().split(u'\n');
        for (qsizetype k = 0; k < shown.size() && k < whole.size(); ++k) {
            const QString kept = shown[k].chopped(shown[k].endsWith(u'…') ? 1 : 0).trimmed();
            const bool atWord =
                shown[k] == whole[k] ||
                (whole[k].startsWith(kept) && (kept.isEmpty() || kept.size() == whole[k].size() ||
                                               whole[k].at(kept.size()) == u' '));
            if (!atWord) {
                faults << QStringLiteral("%1 cut mid-word: %2").arg(label->objectName(), shown[k]);
            }
        }
        if (label->text() != label->fullText() && label->toolTip() != label->fullText()) {
            faults << label->objectName() + QStringLiteral(" cut, without its whole text");
        }
    }
    return faults;
}

} // namespace

class ProfileWindowTest : public testing::WindowHarness {
    Q_OBJECT

    // Types into input box `index` and tabs on, which commits it.
    void enter(int index, const QString& typed) {
        auto* box = control<QLineEdit>(QStringLiteral("txtInput(%1)").arg(index));
        window->activateWindow(); // as a click into it would, from the profile window
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    void calculate(const QStringList& inputs) {
        for (int i = 0; i < inputs.size(); ++i) {
            enter(i, inputs[i]);
        }
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
    }
    void keys(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(target->window()->windowHandle(), key, modifiers);
    }
    ProfileWindow* openProfile() {
        keys(window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        ProfileWindow* profile = shell->profileWindow();
        if (profile && QTest::qWaitForWindowExposed(profile)) {
            return profile;
        }
        return nullptr;
    }
    static QString cell(const ProfileWindow* profile, int row, int column) {
        const QAbstractItemModel* model = profile->table()->model();
        return model->data(model->index(row, column)).toString();
    }

private slots:
    // Given a 256-section curve, in the C and the German locale: every table
    // cell and every copied cell is the 15-digit text of the stored value,
    // and every number of the CSV reads back to the stored double exactly.
    void wholeCurveReachesTableClipboardAndCsvWithoutLoss() {
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
            QLocale::setDefault(locale);
            QVERIFY(open());
            const QString comma = locale.decimalPoint();
            calculate({"1968503" + comma + "937", "12" + comma + "5", "1" + comma + "5",
                       "-2" + comma + "25", "256"});
            QCOMPARE(beeps, 0);
            ProfileWindow* profile = openProfile();
            QVERIFY(profile);
            const ProfileState& stored = window->state();
            QCOMPARE(profile->table()->model()->rowCount(), 256);

            // Copy all sections with the focus in an input box: the box keeps
            // its text and nothing beeps.
            control("txtInput(1)")->setFocus();
            keys(window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(control<QLineEdit>("txtInput(1)")->text(), "12" + comma + "5");
            QStringList lines = QApplication::clipboard()->text().split(u'\n');
            QCOMPARE(lines.size(), 258); // a header, 256 rows, and the last line's end
            QVERIFY(lines.takeFirst().startsWith(QStringLiteral("Section\tDistance at start")));

            for (int i = 1; i <= 256; ++i) {
                const std::vector<double> values = storedRow(stored, i);
                const QStringList copied = lines[i - 1].split(u'\t');
                QCOMPARE(copied.size(), 8);
                for (int c = 0; c < 8; ++c) {
                    const QString text = cell(profile, i - 1, c);
                    QCOMPARE(copied[c], text);
                    QCOMPARE(text, NumberToText(values[std::size_t(c)], locale));
                    QCOMPARE(*TextToNumber(text, locale),
                             roundedTo15Digits(values[std::size_t(c)]));
                }
            }

            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("sections.csv"));
            QCOMPARE(profile->writeFile(ProfileWindow::FileKind::Csv, path).reason(), QString());
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QList<QByteArray> rows = file.readAll().split('\n');
            QCOMPARE(rows.size(), 258);
            QVERIFY(rows[0].endsWith("[rad]\r"));
            for (int i = 1; i <= 256; ++i) {
                std::vector<double> values = storedRow(stored, i);
                values.push_back(stored.SectionStartAngle.at(i));
                values.push_back(stored.SectionEndAngle.at(i));
                const QList<QByteArray> fields = rows[i].chopped(1).split(',');
                QCOMPARE(fields.size(), 10);
                for (int c = 0; c < 10; ++c) {
                    double read = 0;
                    const auto result = std::from_chars(fields[c].cbegin(), fields[c].cend(), read);
                    QCOMPARE(result.ptr, fields[c].cend());
                    QVERIFY2(sameBits(read, values[std::size_t(c)]), fields[c].constData());
                }
            }
            close();
        }
    }

    // Given 16 sections on show: "Next", "Previous" and "Calculate" move the
    // highlight and the table's row; a row, a click in the plot and the plot's
    // arrow keys move the main window; a failed calculation keeps the curve;
    // a new height at start changes nothing here but a note, until "Calculate".
    void profileAndMainWindowFollowEachOther() {
        QVERIFY(open());
        calculate({"1000", "0", "2", "-3", "16"});
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        ProfilePlot* plot = profile->plot();
        QTableView* table = profile->table();
        const auto shownSection = [&] { return control<QLineEdit>("txtActualSection")->text(); };
        const auto inStep = [&](int section) {
            return plot->highlightedSection() == section &&
                   table->currentIndex().row() == section - 1 &&
                   shownSection() == QString::number(section) &&
                   plot->accessibleDescription().startsWith(
                       QStringLiteral("Section %1 of 16").arg(section));
        };
        QVERIFY(inStep(1));
        QTemporaryDir images;
        const auto savedSvg = [&] {
            const QString path = images.filePath(QStringLiteral("plot.svg"));
            QFile file(path);
            return profile->writeFile(ProfileWindow::FileKind::Svg, path).ok() &&
                           file.open(QIODevice::ReadOnly)
                       ? file.readAll()
                       : QByteArray();
        };
        const QByteArray svgAtSection1 = savedSvg();
        QVERIFY(!svgAtSection1.isEmpty());
        QTest::mouseClick(control("cmdNext"), Qt::LeftButton);
        QTest::mouseClick(control("cmdNext"), Qt::LeftButton);
        QVERIFY(inStep(3));
        QTest::mouseClick(control("cmdBack"), Qt::LeftButton);
        QVERIFY(inStep(2));
        // One "Calculate" moves the highlight, and tells screen readers, once.
        QSignalSpy highlights(plot, &ProfilePlot::highlightChanged);
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
        QCOMPARE(highlights.count(), 1);
        QVERIFY(inStep(1));

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(5, 3)).center());
        QVERIFY(inStep(6));
        // Point along the middle of the plot until the pointer is over section 9.
        QPoint over9(0, plot->height() / 2);
        while (over9.x() < plot->width() && !plot->hoverText().startsWith("Section 9 ")) {
            over9.rx() += 2;
            QTest::mouseMove(plot, over9);
        }
        QTest::mouseClick(plot, Qt::LeftButton, {}, over9);
        QVERIFY(inStep(9));
        // A saved plot shows the curve, not the section on display nor the pointer.
        QCOMPARE(savedSvg(), svgAtSection1);
        QTest::keyClick(plot, Qt::Key_Right);
        QVERIFY(inStep(10));
        QTest::keyClick(plot, Qt::Key_End);
        QVERIFY(inStep(16));
        QTest::keyClick(plot, Qt::Key_Right); // no section 17
        QVERIFY(inStep(16));
        // A count raised without Calculate lets Next go on beyond the table;
        // a click on the table's last row brings the main window back.
        enter(4, "20");
        QTest::mouseClick(control("cmdNext"), Qt::LeftButton);
        QCOMPARE(shownSection(), QStringLiteral("17"));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(15, 0)).center());
        QVERIFY(inStep(16));
        enter(4, "16");
        // The axes are in metres, and the readout leads with them, until
        // View ▸ Track units; the table and the copy stay in track units.
        const QString rows = profile->selectedRowsText();
        QVERIFY2(plot->hoverText().contains(QStringLiteral(" m (")), qPrintable(plot->hoverText()));
        QVERIFY(plotAsSvg(plot).contains("Distance from the start [m]"));
        profile->findChild<QAction*>(QStringLiteral("actTrackUnits"))->trigger();
        QVERIFY(plot->hoverText().contains(QStringLiteral("distance 50")));
        QVERIFY(plot->hoverText().contains(QStringLiteral(" track units (")));
        QVERIFY(plotAsSvg(plot).contains("Distance from the start [track units]"));
        QCOMPARE(profile->selectedRowsText(), rows);
        QVERIFY(control("txtCoeff0")
                    ->toolTip()
                    .startsWith(NumberToText(window->state().SectionHeight.at(16))));

        const QString before = profile->selectedRowsText();
        const QStringList facts = profile->plotCaption();
        QVERIFY(facts.value(0).startsWith(QStringLiteral("Crest")));
        calculate({"0"}); // a zero length cannot be calculated
        QCOMPARE(beeps, 1);
        QCOMPARE(table->model()->rowCount(), 16);
        QCOMPARE(profile->plotCaption(), facts);
        table->selectRow(15);
        QCOMPARE(profile->selectedRowsText(), before);
        profile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(profile));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier); // the selected row, with a header
        QCOMPARE(QApplication::clipboard()->text(), before);
        QCOMPARE(before.count(u'\n'), 2);
        keys(profile, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier); // all, from here too
        QCOMPARE(QApplication::clipboard()->text().count(u'\n'), 17);

        // A failed Calculate says why, until one succeeds.
        QCOMPARE(profile->staleNote(), QStringLiteral("Calculate failed: a length of 0 gives no "
                                                      "curve. This is the last curve calculated."));
        calculate({"1E308", "0", "89"});
        QCOMPARE(beeps, 2);
        QVERIFY2(profile->staleNote().startsWith(
                     QStringLiteral("Calculate failed: the numbers are too large to calculate.")),
                 qPrintable(profile->staleNote()));
        enter(0, "1000"); // the inputs of the calculation on show again
        enter(2, "2");
        QVERIFY(profile->staleNote().startsWith(QStringLiteral("Calculate failed")));
        QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
        QVERIFY(profile->staleNote().isEmpty());
        QTemporaryDir dir;
        const auto csv = [&] {
            const QString path = dir.filePath(QStringLiteral("sections.csv"));
            QFile file(path);
            return profile->writeFile(ProfileWindow::FileKind::Csv, path).ok() &&
                           file.open(QIODevice::ReadOnly)
                       ? file.readAll()
                       : QByteArray();
        };
        const QByteArray calculatedCsv = csv();
        enter(1, "7");
        QCOMPARE(cell(profile, 0, 5), QStringLiteral("0"));
        QCOMPARE(csv(), calculatedCsv);
        QCOMPARE(profile->plotCaption(), facts);
        QVERIFY(profile->findChild<QWidget*>(QStringLiteral("lblStaleNote"))->isVisible());
        calculate({"1000", "7", "-3", "2"});
        QVERIFY(profile->plotCaption().value(0).startsWith(QStringLiteral("Sag")));
        QCOMPARE(cell(profile, 0, 5), QStringLiteral("7"));
        QVERIFY(!profile->findChild<QWidget*>(QStringLiteral("lblStaleNote"))->isVisible());
    }

    // Given a nearly level curve high up (heights 1E-8 apart at 1.2E8, which
    // once sent the plot's tick loop on until memory ran out): the plot, the
    // facts and the table show; pointing reads out the curve, the arrow keys
    // move the highlight, and copying and both exports work.
    void nearlyLevelCurveHighUpShowsAndExports() {
        QVERIFY(open());
        calculate({"1968503.937", "123456789.123", "-1E-12", "-0", "16"});
        QCOMPARE(beeps, 0);
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        ProfilePlot* plot = profile->plot();
        QCOMPARE(profile->table()->model()->rowCount(), 16);
        QVERIFY(!profile->plotCaption().isEmpty());
        QTest::mouseMove(plot, plot->rect().center());
        QVERIFY(plot->hoverText().startsWith(QStringLiteral("Section ")));
        QTest::keyClick(plot, Qt::Key_End);
        QTest::keyClick(plot, Qt::Key_Left);
        QCOMPARE(plot->highlightedSection(), 15);
        keys(profile, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::clipboard()->text().count(u'\n'), 17);

        QTemporaryDir dir;
        QCOMPARE(
            profile
                ->writeFile(ProfileWindow::FileKind::Svg, dir.filePath(QStringLiteral("plot.svg")))
                .reason(),
            QString());
        QCOMPARE(
            profile
                ->writeFile(ProfileWindow::FileKind::Png, dir.filePath(QStringLiteral("plot.png")))
                .reason(),
            QString());
        QFile svg(dir.filePath(QStringLiteral("plot.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray svgText = svg.readAll();
        QVERIFY(svgText.contains("<path") && !svgText.contains("to draw"));
        QVERIFY(!QImage(dir.filePath(QStringLiteral("plot.png"))).isNull());
    }

    // Given +1.5 % to -2.5 %, in the C and the German locale: 20000 m typed
    // as the radius, "Use this length" and "Calculate" give a crest of that
    // radius. A refused radius beeps and gets its text back; equal gradients
    // leave no length to use.
    void lengthFromAVerticalRadius() {
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German)}) {
            QLocale::setDefault(locale);
            QVERIFY(open());
            const auto degrees = [](double grade) {
                return NumberToText(RadiansToDegrees(std::atan(grade)));
            };
            calculate({"1000", "0", degrees(0.015), degrees(-0.025)});
            ProfileWindow* profile = openProfile();
            QVERIFY(profile);
            auto* radius = profile->findChild<QLineEdit*>(QStringLiteral("txtDesignRadius"));
            auto* length = profile->findChild<ElidingLabel*>(QStringLiteral("lblDesignLength"));
            auto* use = profile->findChild<QPushButton*>(QStringLiteral("cmdUseDesignLength"));
            QVERIFY(radius && length && use);
            QVERIFY(!use->isEnabled());
            profile->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(profile));
            profile->findChild<QTabWidget*>()->setCurrentIndex(1);
            QTest::mouseClick(radius, Qt::LeftButton);
            QTest::keyClicks(radius, "20000" + locale.decimalPoint() + "0");
            QCOMPARE(length->fullText(), QStringLiteral("800 m (15748031 track units)"));
            QTest::mouseClick(use, Qt::LeftButton);
            QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
            QCOMPARE(profile->plotCaption().value(0),
                     QStringLiteral("Crest, vertical radius 20000 m (393700787 track units)"));
            QCOMPARE(beeps, 0);
            // Every sentence follows View: with Track units they lead.
            auto* query = profile->findChild<QLineEdit*>(QStringLiteral("txtChainageQuery"));
            auto* height = profile->findChild<ElidingLabel*>(QStringLiteral("lblChainageHeight"));
            query->setText(QStringLiteral("300"));
            QVERIFY2(height->fullText().startsWith("2" + locale.decimalPoint() + "250 m (44291 "),
                     qPrintable(height->fullText()));
            profile->findChild<QAction*>(QStringLiteral("actTrackUnits"))->trigger();
            QCOMPARE(length->fullText(), QStringLiteral("15748031 track units (800 m)"));
            QCOMPARE(profile->plotCaption().value(0),
                     QStringLiteral("Crest, vertical radius 393700787 track units (20000 m)"));
            QVERIFY2(height->fullText().startsWith("44291 track units (2" + locale.decimalPoint() +
                                                   "250 m)"),
                     qPrintable(height->fullText()));
            profile->findChild<QAction*>(QStringLiteral("actMetres"))->trigger();

            radius->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(radius, QStringLiteral("-5"));
            QVERIFY(!use->isEnabled() && length->fullText().isEmpty());
            QTest::keyClick(radius, Qt::Key_Tab);
            QCOMPARE(beeps, 1);
            QCOMPARE(radius->text(), QStringLiteral("20000"));
            QVERIFY(use->isEnabled());

            // The other ways, on the crest at 5 m from 1+000: each shows only
            // its boxes, which give its length, or say why there is none.
            const QString point = locale.decimalPoint();
            enter(1, "98425" + point + "19685");
            auto* start = profile->findChild<QLineEdit*>(QStringLiteral("txtStartChainage"));
            start->setText(QStringLiteral("1+000"));
            emit start->returnPressed();
            profile->findChild<QTabWidget*>()->setCurrentIndex(2);
            profile->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(profile));
            const struct {
                const char* option;
                QStringList boxesAndTexts;
                QString length;
            } ways[] = {
                {"optDesignK", {"txtDesignK", "100"}, "400 m (7874016 track units)"},
                {"optDesignSpeed",
                 {"txtDesignSpeed", "160", "txtDesignAcceleration", "0" + point + "22"},
                 "359" + point + "147 m (7069823 track units)"},
                {"optDesignPoint",
                 {"txtDesignPointChainage", "1+200", "txtDesignPointHeight", "7"},
                 "800 m (15748031 track units)"},
                {"optDesignPoint",
                 {"txtDesignPointHeight", "9"},
                 "no length: the point is on or above the crest's start tangent"},
            };
            for (const auto& way : ways) {
                QTest::mouseClick(profile->findChild<QAbstractButton*>(way.option), Qt::LeftButton);
                for (qsizetype i = 0; i + 1 < way.boxesAndTexts.size(); i += 2) {
                    auto* box = profile->findChild<QLineEdit*>(way.boxesAndTexts[i]);
                    QVERIFY(box->isVisible() && !radius->isVisible());
                    box->setFocus(Qt::TabFocusReason);
                    QTest::keyClicks(box, way.boxesAndTexts[i + 1]);
                    QTest::keyClick(box, Qt::Key_Tab);
                }
                QCOMPARE(length->fullText(), way.length);
                QCOMPARE(use->isEnabled(), way.length.endsWith(u')'));
            }
            QCOMPARE(beeps, 1);
            QVERIFY(profile->plotCaption().contains("At 160 km/h, vertical acceleration 0" + point +
                                                    "0988 m/s² on the smallest radius"));

            // For the gradients of the calculation on show: equal ones leave no length.
            QTest::mouseClick(profile->findChild<QAbstractButton*>("optDesignRadius"),
                              Qt::LeftButton);
            enter(3, degrees(0.015));
            QVERIFY(use->isEnabled());
            calculate({"1000"});
            QVERIFY(!use->isEnabled() &&
                    length->fullText().startsWith(QStringLiteral("no length")));
            // A start gradient of 135 (a slip for 1.35) acts as -45°, and the facts say so.
            calculate({"1000", "0", "135"});
            QVERIFY(profile->plotCaption().contains(
                QStringLiteral("Start gradient 135° acts as -45° (its tangent)")));
            close();
        }
    }

    // Given the longest texts it shows (a German radius of 20000,5 m on the
    // 800 m crest, the equal-gradients message, a stretch of 1E300, and the
    // note of inputs changed since), at its smallest size and larger: no two
    // widgets overlap, each label has the height of its lines, a cut text
    // ends after a whole word and is whole in its tooltip, and the window's
    // minimum is what its layout needs, within 480 x 360.
    void noTextIsDrawnOverAnotherAtAnySize() {
        QLocale::setDefault(QLocale(QLocale::German));
        QVERIFY(open());
        const struct {
            const char* name;
            QStringList inputs;
            QString radius;
        } cases[] = {
            {"a German radius", {"15748031,496", "0", "0,859372", "-1,432096", "16"}, "20000,5"},
            {"equal gradients", {"15748031,496", "0", "1", "1", "16"}, "20000"},
            {"a stretch of 1E300", {"1E300", "0", "0,859372", "-1,432096", "16"}, "1E300"},
        };
        for (const auto& c : cases) {
            calculate(c.inputs);
            ProfileWindow* profile = openProfile();
            QVERIFY(profile);
            profile->findChild<QTabWidget*>()->setCurrentIndex(1);
            auto* radius = profile->findChild<QLineEdit*>(QStringLiteral("txtDesignRadius"));
            radius->setFocus(Qt::TabFocusReason);
            radius->setText(c.radius);
            QTest::keyClick(radius, Qt::Key_Tab);
            enter(1, "5"); // the note too
            QVERIFY(!profile->staleNote().isEmpty());
            for (const QSize size : {QSize(480, 360), QSize(780, 640), QSize(1200, 900)}) {
                profile->resize(size);
                QTRY_COMPARE(profile->size(), size);
                const QStringList faults = layoutFaults(profile);
                QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 at %2x%3: %4")
                                                          .arg(c.name)
                                                          .arg(size.width())
                                                          .arg(size.height())
                                                          .arg(faults.join(QStringLiteral("; ")))));
            }
            QCOMPARE(profile->minimumSize(), profile->layout()->totalMinimumSize());
            QVERIFY(profile->minimumSize().boundedTo(ProfileWindow::MinimumSize) ==
                    profile->minimumSize());
            QCOMPARE(beeps, 0);
        }
    }

    // Given the 800 m crest and the same gradients over 1E-300 track units:
    // the tiny one's facts hold no 0, the labels of each axis all differ,
    // and both shapes are drawn with the same exaggeration.
    void tinyStretchIsWrittenAsItIs() {
        QVERIFY(open());
        calculate({"15748031.496", "0", "0.859372", "-1.432096", "16"});
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        const std::optional<AxesText> crest = profile->plot()->axesText();
        QVERIFY(crest);
        calculate({"1E-300"});
        const QRegularExpression zero(QStringLiteral("(^|[ (])0 (track units|m)"));
        for (const QString& fact : profile->plotCaption()) {
            QVERIFY2(!fact.contains(zero), qPrintable(fact));
        }
        const std::optional<AxesText> tiny = profile->plot()->axesText();
        QVERIFY(tiny);
        for (const QStringList& labels : {tiny->distances, tiny->heights}) {
            QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
        }
        QCOMPARE(tiny->scale, crest->scale);
        // Too short for an alignment file: greyed out and refused with the reason, no file.
        const auto* ifc = profile->findChild<QAction*>(QStringLiteral("actSaveIfc"));
        QVERIFY(!ifc->isEnabled() && ifc->toolTip().contains("at least 0.001 m"));
        QTemporaryDir dir;
        QVERIFY(profile->writeFile(ProfileWindow::FileKind::Ifc, dir.filePath("a.ifc"))
                    .reason()
                    .contains(QStringLiteral("at least 0.001 m")));
        QVERIFY(QDir(dir.path()).isEmpty());
        // One exaggeration at any size of the window.
        for (const QSize size : {QSize(480, 360), QSize(1400, 1000)}) {
            profile->resize(size);
            QTRY_COMPARE(profile->size(), size);
            QCOMPARE(profile->plot()->axesText().value().scale, crest->scale);
        }
    }

    // Given the 800 m crest from +1.5 % to -2.5 %, in the German and the US
    // locale: 1+000 and 20 m typed into the Stations tab give 41 stations,
    // the high point at 1+300.000 2.250 m up; the height at any chainage
    // follows the typing; a refused interval beeps and gets its text back;
    // the copied text and the CSV carry every station; the PDF report holds
    // every station's chainage and height and every section's height, on A4
    // or Letter as the locale measures, and runs to more pages for more rows.
    void settingOutTheCrestFromAChainage() {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (pdftotext.isEmpty() || pdfinfo.isEmpty()) {
            QSKIP("needs pdftotext and pdfinfo (poppler-utils) to read the report");
        }
        const auto run = [](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.start(program, arguments);
            return process.waitForFinished(30000) ? QString::fromUtf8(process.readAll())
                                                  : QString();
        };
        for (const auto& [locale, paper] :
             {std::pair{QLocale(QLocale::German, QLocale::Germany), QStringLiteral("(A4)")},
              std::pair{QLocale(QLocale::English, QLocale::UnitedStates),
                        QStringLiteral("(letter)")}}) {
            QLocale::setDefault(locale);
            QVERIFY(open());
            const QString point = locale.decimalPoint();
            calculate({"15748031" + point + "496", "0", "0" + point + "859372",
                       "-1" + point + "432096", "16"});
            ProfileWindow* profile = openProfile();
            QVERIFY(profile);
            profile->findChild<QTabWidget*>()->setCurrentIndex(1);
            // A click into a box activates its window, as the window manager
            // would after a report's progress dialog has closed.
            const auto type = [&](const char* box, const QString& text) {
                profile->activateWindow();
                if (!QTest::qWaitForWindowActive(profile)) {
                    return QStringLiteral("(the profile window did not become active)");
                }
                auto* edit = profile->findChild<QLineEdit*>(QString::fromUtf8(box));
                QTest::mouseClick(edit, Qt::LeftButton);
                edit->selectAll();
                QTest::keyClicks(edit, text);
                QTest::keyClick(edit, Qt::Key_Tab);
                return edit->text();
            };
            QCOMPARE(type("txtStartChainage", QStringLiteral("1+000")), "1+000" + point + "000");
            QCOMPARE(type("txtStationInterval", QStringLiteral("0")), QStringLiteral("10"));
            QCOMPARE(beeps, 1);
            const QAbstractItemModel* table =
                profile->findChild<QTableView*>(QStringLiteral("tblStations"))->model();
            // A value too long for its box shows in fewer digits, whole in the
            // tooltip and again when the user is back in the box.
            auto* every = profile->findChild<QLineEdit*>(QStringLiteral("txtStationInterval"));
            const QString shortened = type("txtStationInterval", QStringLiteral("1e9"));
            QCOMPARE(TextToNumber(shortened, locale), 1e9);
            QVERIFY2(every->fontMetrics().horizontalAdvance(shortened) < every->width(),
                     qPrintable(shortened));
            QCOMPARE(every->toolTip(), QStringLiteral("1000000000"));
            QCOMPARE(table->rowCount(), 3); // the start, the high point and the end
            every->setFocus();
            QCOMPARE(every->text(), QStringLiteral("1000000000"));
            // A number whose 15 digits read back as none is refused, as in every box.
            type("txtStationInterval", "1" + point + "7976931348623157E308");
            QCOMPARE(beeps, 2);
            QCOMPARE(type("txtStationInterval", QStringLiteral("20")), QStringLiteral("20"));
            QCOMPARE(table->rowCount(), 41);
            const auto cellOf = [&](int row, int column) {
                return table->data(table->index(row, column)).toString();
            };
            QCOMPARE(cellOf(15, 0), "1+300" + point + "000");
            QCOMPARE(cellOf(15, 1), QStringLiteral("high point"));
            QCOMPARE(cellOf(15, 3), "2" + point + "250");

            auto* query = profile->findChild<QLineEdit*>(QStringLiteral("txtChainageQuery"));
            auto* height = profile->findChild<ElidingLabel*>(QStringLiteral("lblChainageHeight"));
            query->setFocus();
            QTest::keyClicks(query, QStringLiteral("1+300"));
            QVERIFY2(height->fullText().startsWith("2" + point + "250 m"),
                     qPrintable(height->fullText()));
            QTest::keyClick(query, Qt::Key_Home);
            QTest::keyClick(query, Qt::Key_Delete); // "+300": 300 m, before the start
            QVERIFY2(height->fullText().contains("1+000" + point + "000 to 1+800" + point + "000"),
                     qPrintable(height->fullText()));
            query->setText(QStringLiteral("1+50"));
            QCOMPARE(height->fullText(),
                     "not a chainage: type it as 1+020" + point + "000 or 1020");

            profile->findChild<QAction*>(QStringLiteral("actCopyStations"))->trigger();
            const QStringList copied = QApplication::clipboard()->text().split(u'\n');
            QCOMPARE(copied.size(), 43); // a header, 41 rows and the last line's end
            const QStringList highPoint = copied[16].split(u'\t');
            QCOMPARE(highPoint.mid(0, 1) + highPoint.mid(2, 1),
                     (QStringList{"1+300" + point + "000", QStringLiteral("high point")}));
            QTemporaryDir dir;
            // The curve into other tools, stationed from the chainage at start.
            const auto written = [&](ProfileWindow::FileKind kind, const QString& name) {
                QFile file(dir.filePath(name));
                return profile->writeFile(kind, file.fileName()).ok() &&
                               file.open(QIODevice::ReadOnly)
                           ? file.readAll()
                           : QByteArray();
            };
            const QByteArray ifc = written(ProfileWindow::FileKind::Ifc, "alignment.ifc");
            QVERIFY(ifc.contains("'IFC4X3_ADD2'") && ifc.contains(".PARABOLICARC.") &&
                    ifc.contains("IFCPROPERTYSINGLEVALUE('Station',$,IFCLENGTHMEASURE(1000.)"));
            QVERIFY(written(ProfileWindow::FileKind::LandXml, "alignment.xml")
                        .contains("staStart=\"1000\""));
            const QString csvPath = dir.filePath(QStringLiteral("stations.csv"));
            QCOMPARE(profile->writeFile(ProfileWindow::FileKind::StationsCsv, csvPath).reason(),
                     QString());
            QFile csv(csvPath);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(csv.readAll().count("\r\n"), 42);

            const auto report = [&](const QString& name) {
                const QString path = dir.filePath(name);
                return profile->writeFile(ProfileWindow::FileKind::Report, path).ok() ? path
                                                                                      : QString();
            };
            const QString pdf = report(QStringLiteral("report.pdf"));
            QVERIFY(!pdf.isEmpty());
            const QString text = run(pdftotext, {pdf, QStringLiteral("-")});
            for (int row = 0; row < table->rowCount(); ++row) {
                QVERIFY2(text.contains(cellOf(row, 0)) && text.contains(cellOf(row, 3)),
                         qPrintable(cellOf(row, 0)));
            }
            for (int section = 1; section <= 16; ++section) {
                const QString sectionHeight = RowTexts(
                    SectionsTable(), SectionRow{&window->state(), section}, InTable, locale)[5];
                QVERIFY2(text.contains(sectionHeight), qPrintable(sectionHeight));
            }
            const QString scale = profile->plot()->axesText().value().scale;
            QVERIFY2(text.contains(scale), qPrintable(scale)); // the window's exaggeration
            const QString info = run(pdfinfo, {pdf});
            QVERIFY2(info.contains(paper), qPrintable(info));

            // Every metre, over pages: a Calculate while the report is being
            // made (its dialog shown at once, letting events through) changes
            // the window, not the report.
            type("txtStationInterval", QStringLiteral("1"));
            QStringList stationCells;
            for (int row = 0; row < table->rowCount(); row += 7) {
                QStringList cells{cellOf(row, 0), cellOf(row, 1), cellOf(row, 2), cellOf(row, 3)};
                cells.removeAll(QString());
                stationCells << cells.join(u' '); // a row as the page lays it out
            }
            profile->setReportProgressDelay(0);
            bool calculatedMeanwhile = false;
            QTimer::singleShot(0, window, [&] {
                calculatedMeanwhile =
                    window->enterInput(InputBox::StartHeight, QStringLiteral("1000000"));
                QTest::mouseClick(control("cmdCalculate"), Qt::LeftButton);
            });
            const QString longer = report(QStringLiteral("longer.pdf"));
            QVERIFY(calculatedMeanwhile);
            QCOMPARE(cellOf(300, 3), "53" + point + "050"); // the window shows the new curve
            const QString longerText =
                run(pdftotext, {QStringLiteral("-layout"), longer, QStringLiteral("-")})
                    .simplified();
            for (const QString& stationCell : stationCells) {
                QVERIFY2(longerText.contains(stationCell), qPrintable(stationCell));
            }
            QVERIFY(!longerText.contains("53" + point + "050") &&
                    !longerText.contains(QStringLiteral("1000000 track units")));
            // Closing the window during a report asks: go on, or stop and write nothing.
            for (const bool goOn : {true, false}) {
                QTimer::singleShot(0, profile, [&] {
                    testing::ExpectedDialog() = [goOn](QDialog& box) {
                        goOn ? box.reject() : box.findChild<QPushButton*>()->click();
                    };
                    profile->findChild<QAction*>(QStringLiteral("actClose"))->trigger();
                });
                QCOMPARE(QFile(report(QStringLiteral("closed%1.pdf").arg(goOn))).exists(), goOn);
                QCOMPARE(profile->isVisible(), goOn);
            }
            shell->showProfile()->trigger();
            // 400 km every 100 m: the one word among 4,002 rows has its room in
            // the report, not only the rows its widths are measured on.
            calculate({"7874015748"});
            type("txtStationInterval", QStringLiteral("100"));
            const QString words = run(
                pdftotext, {QStringLiteral("-layout"), report(QStringLiteral("long.pdf")), "-"});
            QVERIFY2(words.simplified().contains(QStringLiteral("high point 1")),
                     qPrintable(words.mid(words.indexOf(QStringLiteral("high point")) - 40, 80)));
            const auto pages = [&](const QString& path) {
                return QRegularExpression(QStringLiteral("Pages: +(\\d+)"))
                    .match(run(pdfinfo, {path}))
                    .captured(1)
                    .toInt();
            };
            QVERIFY2(pages(longer) > pages(pdf), qPrintable(QString::number(pages(pdf))));

            // 100,000 km: too many stations every 100 m. Nothing writes or
            // copies stations, each command says why, the report too.
            calculate({"1968503937000"});
            const QString why = "No stations: every 100 m from 1+000" + point +
                                "000 gives too many for this stretch. Choose a longer interval.";
            for (const char* name : {"actSaveStationsCsv", "actCopyStations"}) {
                const auto* action = profile->findChild<QAction*>(QString::fromUtf8(name));
                QVERIFY2(!action->isEnabled() && action->toolTip() == why, name);
            }
            QCOMPARE(profile
                         ->writeFile(ProfileWindow::FileKind::StationsCsv,
                                     dir.filePath(QStringLiteral("none.csv")))
                         .reason(),
                     why);
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.csv"))));
            const QString refused = run(pdftotext, {report(QStringLiteral("none.pdf")), "-"});
            QVERIFY2(refused.simplified().contains(why), qPrintable(refused.left(2000)));

            // File ▸ Open alignment…: the second curve of a LandXML file is
            // taken as typed, the sections kept, and calculated; a file that
            // is no alignment says why and changes nothing.
            const auto openAlignment = [&](const char* file, const auto& next) {
                testing::ExpectedDialog() = [file, next](QDialog& files) {
                    files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                        ->setText(PENDRIO_ALIGNMENT_DATA "/" + QString::fromUtf8(file));
                    testing::ExpectedDialog() = next;
                    files.accept();
                };
                profile->findChild<QAction*>(QStringLiteral("actOpenAlignment"))->trigger();
            };
            openAlignment("two-curves.xml", [](QDialog& choice) {
                auto* curves = choice.findChild<QTreeWidget*>(QStringLiteral("lstCurves"));
                curves->setCurrentItem(curves->topLevelItem(1));
                choice.accept();
            });
            QCOMPARE(window->state().TrackLength / UnitsPerMetre, 300.0);
            QCOMPARE(window->state().SectionCount, 16);
            QVERIFY(profile->staleNote().isEmpty()); // calculated
            QCOMPARE(type("txtStartChainage", "1+850"), "1+850" + point + "000");
            QString refusal;
            openAlignment("../calculations/corpus.txt", [&refusal](QDialog& box) {
                refusal = static_cast<QMessageBox&>(box).text();
                box.reject();
            });
            QVERIFY2(refusal.contains("was not opened"), qPrintable(refusal));
            QCOMPARE(window->state().TrackLength / UnitsPerMetre, 300.0);
            close();
        }
    }

    // Saving where nothing can be written leaves no file and says why; the
    // plot saves as SVG and PNG; the new shortcuts take no line-edit key; the
    // frame's menu holds the commands; closing the main window closes this one.
    void savingShortcutsMenusAndClosing() {
        QVERIFY(open());
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("a-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        for (const QString& path : {dir.filePath(QStringLiteral("missing/sections.csv")),
                                    dir.filePath(QStringLiteral("a-file/sections.csv"))}) {
            QVERIFY(!profile->writeFile(ProfileWindow::FileKind::Csv, path).ok());
            QVERIFY(!profile->writeFile(ProfileWindow::FileKind::Png, path).ok());
        }
        QCOMPARE(profile->writeFile(ProfileWindow::FileKind::Csv, "/proc/sections.csv").reason(),
                 geteuid() ? "You have no permission to write there."
                           : "The folder exists, but no file can be made in it.");
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{QStringLiteral("a-file")});

        // The first save dialog opens in the documents folder, each next one
        // where the last file went, with the file's usual name.
        QVERIFY(QDir::home().mkpath(QStringLiteral("Documents")));
        QString offered;
        const auto saveThroughDialog = [&](const char* action, const QString& folder) {
            testing::ExpectedDialog() = [&offered, folder](QDialog& dialog) {
                auto& files = static_cast<QFileDialog&>(dialog);
                offered = files.selectedFiles().value(0);
                files.setDirectory(folder);
                dialog.accept(); // as the Save button does
            };
            profile->findChild<QAction*>(QString::fromUtf8(action))->trigger();
        };
        saveThroughDialog("actSaveCsv", dir.path());
        QCOMPARE(offered, QDir::home().filePath(QStringLiteral("Documents/profile.csv")));
        saveThroughDialog("actSaveSvg", dir.path());
        QCOMPARE(offered, dir.filePath(QStringLiteral("profile.svg")));
        QFile svg(dir.filePath(QStringLiteral("profile.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray svgText = svg.readAll();
        QVERIFY(svgText.contains("<svg") && svgText.contains("Straight incline"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("profile.csv"))));

        for (const QKeySequence& ours :
             {AppShell::copyAllSectionsShortcut(), AppShell::showProfileShortcut(),
              QKeySequence(QStringLiteral("Ctrl+Shift+M"))}) {
            for (int key = QKeySequence::UnknownKey + 1; key <= QKeySequence::Cancel; ++key) {
                QVERIFY2(!QKeySequence::keyBindings(QKeySequence::StandardKey(key)).contains(ours),
                         qPrintable(ours.toString()));
            }
        }
        QCOMPARE(control("frmCalc")->actions(),
                 (QList<QAction*>{shell->copyAllSections(), shell->showProfile()}));
        // Shift+F10 opens a result box's editing menu, with both commands below it.
        auto* box = control<QLineEdit>("txtCoeff1");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(menu->actions().size() > 3);
        QVERIFY(menu->actions().contains(shell->copyAllSections()));
        QVERIFY(menu->actions().contains(shell->showProfile()));
        menu->close();
        // The way to the profile window is in sight: "Calculate" and the
        // input boxes name "Show profile" and its keys.
        for (const char* name : {"cmdCalculate", "txtInput(0)", "txtInput(4)"}) {
            QVERIFY2(
                control(name)->toolTip().contains(QStringLiteral("Ctrl+Shift+P: Show profile")),
                name);
        }

        // Every entry of the profile window's menus has a letter of its own
        // there, and so has every menu, tab and labelled box of the window;
        // the commands with keys show them.
        const auto letterOf = [](const QString& text) {
            const qsizetype amp = text.indexOf(u'&');
            return amp >= 0 ? text.at(amp + 1).toLower() : QChar();
        };
        QStringList windowLetters;
        for (const QAction* menu : profile->findChild<QMenuBar*>()->actions()) {
            windowLetters << letterOf(menu->text());
        }
        const QTabBar* tabs = profile->findChild<QTabBar*>();
        for (int i = 0; i < tabs->count(); ++i) {
            windowLetters << letterOf(tabs->tabText(i));
        }
        for (const QLabel* label : profile->findChildren<QLabel*>()) {
            if (label->buddy()) {
                windowLetters << letterOf(label->text());
            }
        }
        QCOMPARE(QSet<QString>(windowLetters.begin(), windowLetters.end()).size(),
                 windowLetters.size());
        QStringList shortcuts;
        for (const QMenu* menu : profile->findChildren<QMenu*>()) {
            QSet<QChar> letters;
            for (const QAction* action : menu->actions()) {
                const qsizetype amp = action->text().indexOf(u'&');
                const QChar letter = amp >= 0 ? action->text().at(amp + 1).toLower() : QChar();
                QVERIFY2(action->isSeparator() || (!letter.isNull() && !letters.contains(letter)),
                         qPrintable(action->text()));
                letters << letter;
                if (!action->shortcut().isEmpty()) {
                    shortcuts << action->shortcut().toString();
                }
            }
            QVERIFY2(!menu->actions().contains(shell->showProfile()),
                     "Show profile does nothing here");
        }
        for (const QKeySequence& keys :
             {QKeySequence(QKeySequence::Save), QKeySequence(QKeySequence::Print),
              QKeySequence(QKeySequence::Close), QKeySequence(QKeySequence::Copy),
              AppShell::copyAllSectionsShortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+M"))}) {
            QVERIFY2(shortcuts.contains(keys.toString()), qPrintable(keys.toString()));
        }
        // The print dialog cuts the document's name at its last point to name its file.
        testing::ExpectedDialog() = [profile](QDialog& dialog) {
            QVERIFY(static_cast<QPrintDialog&>(dialog)
                        .printer()
                        ->docName()
                        .section(u'.', 0, -2)
                        .contains(profile->windowTitle()));
            dialog.reject();
        };
        profile->findChild<QAction*>(QStringLiteral("actPrint"))->trigger();
        // Show profile brings it back from the task bar, and Window ▸ Main
        // window leads back.
        profile->showMinimized();
        QTRY_VERIFY(profile->isMinimized());
        window->activateWindow();
        keys(window, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!profile->isMinimized() && profile->isActiveWindow());
        profile->findChild<QAction*>(QStringLiteral("actShowMainWindow"))->trigger();
        QTRY_VERIFY(window->isActiveWindow());

        control<QAbstractButton>("chkOnTop")->click(); // on top also once reopened
        profile->close();
        shell->showProfile()->trigger();
        QVERIFY(profile->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        window->close();
        QVERIFY(!profile->isVisible());
    }

    // With the keyboard alone: Tab reaches only what shows something, and a
    // line cut with "…" shows whole in its tooltip when Tab reaches it.
    void keyboardReachesEverythingVisible() {
        QVERIFY(open());
        calculate({"1E300", "0", "0.859372", "-1.432096", "16"});
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        profile->resize(ProfileWindow::MinimumSize);
        QTRY_COMPARE(profile->size(),
                     profile->minimumSize().expandedTo(ProfileWindow::MinimumSize));
        profile->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(profile));
        bool readFacts = false;
        for (const int tab : {0, 1, 2}) {
            profile->findChild<QTabWidget*>()->setCurrentIndex(tab);
            profile->plot()->setFocus(Qt::TabFocusReason);
            for (int step = 0; step < 16; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget* at = QApplication::focusWidget();
                QVERIFY(at && at->isVisible());
                const QImage focused = at->grab().toImage(); // it shows, an empty table too
                at->clearFocus();
                QVERIFY2(at->grab().toImage() != focused, qPrintable(at->objectName()));
                at->setFocus(Qt::TabFocusReason);
                if (const auto* label = qobject_cast<const ElidingLabel*>(at)) {
                    QVERIFY2(!label->fullText().isEmpty(), qPrintable(label->objectName()));
                    if (label->objectName() == QStringLiteral("lblCurveFacts") &&
                        label->text() != label->fullText()) {
                        QTRY_COMPARE(QToolTip::text(), label->fullText());
                        readFacts = true;
                    }
                }
            }
        }
        QVERIFY(readFacts);
    }

    // A full disk, on a 64 KiB tmpfs of the test's own (so as root): a CSV
    // larger than the free space, which write() writes only in part, and one
    // that fits Qt's write buffer and fails only when flushed. Each time one
    // message names the file and says the disk is full, the old file stays
    // byte for byte, and no temporary file is left.
    void savingToAFullDiskSaysSoAndKeepsTheOldFile() {
        if (geteuid() != 0) {
            QSKIP("needs root, to mount a small tmpfs to fill");
        }
        QTemporaryDir dir(QCoreApplication::applicationDirPath() +
                          QStringLiteral("/full-disk-XXXXXX"));
        QVERIFY(dir.isValid());
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0) {
            QSKIP(qPrintable(QStringLiteral("could not mount a tmpfs: %1")
                                 .arg(QString::fromLocal8Bit(std::strerror(errno)))));
        }
        const auto unmount = qScopeGuard([&] { umount2(mountPoint.constData(), MNT_DETACH); });

        const QString path = dir.filePath(QStringLiteral("sections.csv"));
        const QByteArray old = "the sections saved before\r\n";
        QFile oldFile(path);
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
        oldFile.close();
        QVERIFY(open());
        ProfileWindow* profile = openProfile();
        QVERIFY(profile);
        QStringList messages; // as the warning box shows them

        for (const auto& [sections, room] : {std::pair{"256", 8192}, std::pair{"16", 0}}) {
            calculate({"1000", "0", "2", "-3", sections});
            // Fill the disk page by page, then give back `room` bytes.
            QFile filler(dir.filePath(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray page(4096, 'x');
            while (filler.write(page) == page.size()) {
            }
            QVERIFY(filler.resize(filler.size() - room));
            filler.close();
            QVERIFY2(SectionsAsCsv(window->state()).size() >
                         QStorageInfo(dir.path()).bytesAvailable(),
                     sections);

            messages.clear();
            testing::ExpectedDialog() = [&messages](QDialog& box) {
                messages << box.windowTitle() + u'\n' + static_cast<QMessageBox&>(box).text();
                box.reject();
            };
            profile->saveTo(ProfileWindow::FileKind::Csv, path);
            QCOMPARE(
                messages,
                QStringList{QStringLiteral("Could not save\n“%1” was not saved. The disk is full.")
                                .arg(path)});
            QVERIFY(oldFile.open(QIODevice::ReadOnly));
            QCOMPARE(oldFile.readAll(), old);
            oldFile.close();
            QCOMPARE(
                QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                (QStringList{QStringLiteral("filler"), QStringLiteral("sections.csv")}));
            QVERIFY(filler.remove());
        }
    }
};

PENDRIO_QTEST_MAIN(ProfileWindowTest)

#include "ProfileWindowTest.moc"
