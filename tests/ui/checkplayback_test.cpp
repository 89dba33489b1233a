// Tools > Check Playback: where the game's playback jumps, in every node, in one box; the cursor
// goes to the Steps cell of the first jump and nothing else changes.
#include <QLabel>
#include <QTabBar>

#include "UiFixture.h"

using namespace skyvane;
using namespace skyvane::test;

namespace {

// A node with entries given as cell texts: Frame, Steps, X, Y, Z, Pitch, Yaw, Roll.
TNode node(const std::string& mesh, const std::vector<std::vector<std::string>>& entries) {
    TNode made;
    made.Mesh = mesh;
    for (std::size_t e = 0; e < entries.size(); ++e)
        for (std::size_t c = 0; c < entries[e].size(); ++c)
            made.Data.setCell(ColFrame + static_cast<int>(c), static_cast<int>(e), entries[e][c]);
    made.Entries = static_cast<std::int16_t>(entries.size());
    return made;
}

// Steps as long as the frames to the next entry: the game plays every entry as shown.
const TNode kSmooth = node("smooth", {{"0", "10", "0", "0", "0", "0", "0", "0"},
                                      {"10", "1", "5", "0", "0", "0", "90", "0"}});
// Entry 1 moves for 2 of its 4 frames as if it had 2, so at frame 5 the object has gone 4 units
// past entry 2 and jumps back.
const TNode kShortStep = node("short", {{"0", "1", "0", "0", "0", "0", "0", "0"},
                                        {"1", "2", "0", "0", "0", "0", "0", "0"},
                                        {"5", "1", "4", "0", "0", "0", "0", "0"}});
// Yaw turns 10 degrees a frame for 3 frames where 1 was meant.
const TNode kShortTurn = node(
    "turn", {{"0", "1", "0", "0", "0", "0", "350", "0"}, {"3", "1", "0", "0", "0", "0", "0", "0"}});

} // namespace

class CheckPlaybackTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    void open(const std::vector<TNode>& nodes) {
        TKeyDocument document;
        document.Nodes = nodes;
        ui.prompts->files = {ui.writeKey(QStringLiteral("path.KEY"), document)};
        ui.trigger("Open");
        ui.prompts->messages.clear();
    }

    EntryTable cells() { return ui.main().entries(); }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    void twoJumpsInTwoNodes_listsBothAndGoesToTheFirst() {
        open({kSmooth, kShortStep, kShortTurn});
        ui.main().NodeTabs->setCurrentIndex(1);
        const EntryTable before = cells();
        const QString caption = shownCaption(ui.main());
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"Node 1, entries 1 to 2: the object jumps 4.000 JKU at frame 5; "
                              "Steps 2 is shorter than the 4 frames to the next entry.\n"
                              "Node 2, entries 0 to 1: the object jumps 20.000 degrees at frame 3; "
                              "Steps 1 is shorter than the 3 frames to the next entry."}));
        QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Information);
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 1);
        QCOMPARE(ui.grid().cursorColumn(), int(ColSteps));
        QCOMPARE(ui.main().cursorEntry(), 1);
        QVERIFY(cells() == before);
        QCOMPARE(shownCaption(ui.main()), caption);
    }

    void firstJumpInAnotherNode_showsThatNode() {
        open({kSmooth, kShortTurn});
        ui.trigger("CheckPlayback2"); // from the grid's popup menu
        QCOMPARE(ui.prompts->messages.size(), 1);
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 1);
        QCOMPARE(ui.grid().cursorColumn(), int(ColSteps));
        QCOMPARE(ui.main().cursorEntry(), 0);
        QCOMPARE(ui.cell(ColYaw, 0), QStringLiteral("350.00000000"));
    }

    void noJumps_saysSoAndLeavesTheCursor() {
        open({kSmooth, kSmooth});
        ui.grid().setCursor(ColX, 1);
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"No jumps: the game plays every entry as shown."}));
        QCOMPARE(ui.grid().cursorColumn(), int(ColX));
        QCOMPARE(ui.main().cursorEntry(), 1);
    }

    // Cells typed into the current node count, not the node as it was last stored.
    void editedCurrentNode_isWhatIsChecked() {
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "0", "0"});
        ui.setEntry(1, {"3", "1", "1", "0", "0", "0", "0", "0"});
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"Node 0, entries 0 to 1: the object jumps 2.000 JKU at frame 3; "
                              "Steps 1 is shorter than the 3 frames to the next entry."}));
    }

    // From the box's Mend button and from the Tools menu: every node in one step.
    void mend_lengthensShortStepsInEveryNodeAsOneStep() {
        open({kSmooth, kShortStep, kShortTurn});
        ui.prompts->answers = {MessageAnswer::Mend};
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messages.first().buttons, MessageButtons::OkMend);
        QCOMPARE(ui.prompts->messageTexts().last(), QStringLiteral("Mended 2 jumps."));
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messageTexts().last(), QString::fromLatin1(kNoJumps));
        ui.trigger("Undo1");
        ui.main().NodeTabs->setCurrentIndex(0);
        QCOMPARE(ui.main().document().Nodes[1].Data.cell(ColSteps, 1), std::string("2"));
        QCOMPARE(ui.main().document().Nodes[2].Data.cell(ColSteps, 0), std::string("1"));
        ui.trigger("MendJumps1");
        QCOMPARE(ui.prompts->messageTexts().last(), QStringLiteral("Mended 2 jumps."));
        QCOMPARE(ui.main().document().Nodes[2].Data.cell(ColSteps, 0), std::string("3"));
    }

    // A node not shown since it was read is not checked first: its bad cell is named exactly.
    void badCellInAnotherNode_isNamedByNodeEntryAndColumn() {
        TKeyDocument document;
        document.Nodes = {kSmooth, kShortStep};
        document.Nodes[1].Data.setCell(ColY, 2, "abc");
        ui.main().session().install(document);
        ui.trigger("CheckPlayback1");
        QCOMPARE(
            ui.prompts->errors,
            QStringList({"node 1 entry 2, Y pos: 'abc' is not a valid floating point value."}));
    }

    void faultInTheCurrentNode_isShownAsCheckDataShowsIt() {
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "360", "0"});
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Error found in Data!"}));
        QCOMPARE(ui.main().PNLErrors->text(), QStringLiteral("Error: Must be >= 0 and < 360"));
        QCOMPARE(ui.grid().cursorColumn(), int(ColYaw));
    }
};

#include "checkplayback_test.moc"

std::unique_ptr<QObject> makeCheckPlaybackTest() {
    return std::make_unique<CheckPlaybackTest>();
}
