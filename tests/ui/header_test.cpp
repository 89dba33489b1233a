// The header of a game animation in the main window: Type, Frames with Fit, Joints, each node's
// joint number and the markers, each change one undo step, and the checks that refuse them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>

#include "UiFixture.h"
#include "ui/markers.h"

using namespace skyvane;
using namespace skyvane::test;

class HeaderTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    const KeyHeader& header() { return ui.main().session().header(); }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    void headerBoxesAndJoint_areOneStepEach_andUndoAll() {
        TMainWindow& main = ui.main();
        ui.fillEntries(3);
        main.session().markSaved();
        QVERIFY(main.CBFitFrames->isChecked());
        QVERIFY(!main.LoopFrames->isEnabled());
        QCOMPARE(main.LoopFrames->value(), 21);
        QCOMPARE(main.HeaderType->text(), QStringLiteral("0xFFFF"));

        main.HeaderType->setFocus();
        main.HeaderType->selectAll();
        QTest::keyClicks(main.HeaderType, QStringLiteral("0x000F"));
        QTest::keyClick(main.HeaderType, Qt::Key_Return);
        QCOMPARE(header().type, std::string("0x000F"));
        QCOMPARE(main.Undo1->text(), QStringLiteral("&Undo Type"));

        main.CBFitFrames->click();
        main.LoopFrames->setValue(40);
        QCOMPARE(header().frames, std::optional<std::int64_t>(40));
        QCOMPARE(main.Undo1->text(), QStringLiteral("&Undo Frames"));
        main.SEJoints->setValue(4);
        QCOMPARE(header().joints, std::optional<std::int32_t>(4));
        main.SEJoint->setValue(2);
        QCOMPARE(main.NodeTabs->tabText(0), QStringLiteral("Node 2"));
        QCOMPARE(main.Undo1->text(), QStringLiteral("&Undo Joint"));
        QVERIFY(main.isWindowModified());

        for (int step = 0; step < 5; ++step)
            main.Undo1Click();
        QVERIFY(header() == KeyHeader{});
        QCOMPARE(main.NodeTabs->tabText(0), QStringLiteral("Node 0"));
        QVERIFY(main.CBFitFrames->isChecked());
        QCOMPARE(main.LoopFrames->value(), 21);
        QVERIFY(!main.isWindowModified());
    }

    void markers_editedInTheirWindow_asOneStep() {
        ui.fillEntries(3);
        UiFixture::whenModal([this] {
            auto* window = qobject_cast<TMarkersWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            window->BtnAddMarker->click();
            window->BtnAddMarker->click();
            QTableWidget* table = window->MarkerTable;
            table->item(0, 0)->setText(QStringLiteral("18"));
            table->item(0, 1)->setText(QStringLiteral("3"));
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("Attack"));
            table->item(1, 1)->setText(QStringLiteral("x"));
            window->BBOk->click();
            QVERIFY(window->isVisible());
            QCOMPARE(ui.prompts->messageTexts().last(), QStringLiteral("Invalid value !"));
            table->item(1, 1)->setText(QStringLiteral("5"));
            window->BBOk->click();
        });
        ui.trigger("Markers1");
        QCOMPARE(header().markers, (std::vector<KeyMarker>{{18, 3}, {0, 5}}));
        QCOMPARE(ui.main().Undo1->text(), QStringLiteral("&Undo Markers"));
        ui.main().Undo1Click();
        QVERIFY(header().markers.empty());
    }

    void checkDataAndSave_refuseAJointDrivenTwice() {
        TMainWindow& main = ui.main();
        main.MeshName->setEditText(QStringLiteral("torso"));
        main.SENodes->setValue(2);
        main.NodeTabs->setCurrentIndex(1);
        main.MeshName->setEditText(QStringLiteral("legs"));
        main.SEJoint->setValue(0);
        main.Check1Click();
        QCOMPARE(main.PNLErrors->text(), QString::fromLatin1(kJointNumbersWrong));
        QCOMPARE(ui.prompts->messageTexts().last(), QStringLiteral("Error found in Data!"));
        ui.prompts->files = {ui.path(QStringLiteral("twice.KEY"))};
        main.SaveClick();
        QCOMPARE(ui.prompts->messageTexts().last(), QString::fromLatin1(kJointNumbersWrong));
        QVERIFY(!QFile::exists(ui.path(QStringLiteral("twice.KEY"))));
    }
};

std::unique_ptr<QObject> makeHeaderTest() {
    return std::make_unique<HeaderTest>();
}

#include "header_test.moc"
