// The editing session: each operation, its undo and redo, the modified state and the history.
#include "core/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include <unistd.h>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "nodecells.h"

namespace skyvane {
namespace {

// What undo must bring back exactly: the file a save would write and every cell of every node
// (but the Entry column, which only numbers the rows of a node once it was shown).
struct Content {
    std::string key;
    std::vector<EntryTable> tables;
    std::vector<std::string> meshes;
    std::string frameRate;
    bool operator==(const Content& other) const {
        return key == other.key && tables == other.tables && meshes == other.meshes &&
               frameRate == other.frameRate;
    }
};

Content contentOf(const EditSession& session) {
    Content content;
    const TKeyDocument document = session.documentToSave();
    content.key = keyFileText(document, "T.KEY", "date", "time");
    for (const TNode& node : document.Nodes) {
        content.tables.push_back(node.Data);
        for (int e = 0; e < kMaxEntries; ++e)
            content.tables.back().setCell(ColEntry, e, "");
        content.meshes.push_back(node.Mesh);
    }
    content.frameRate = session.frameRateText();
    return content;
}

std::vector<std::string> entryCells(int frame) {
    const std::string f = std::to_string(frame);
    return {f, "2", f + ".5", "-1", "0.25", "10", "20", "0"};
}

// `nodes` nodes of `entries` entries each, Frames rising by 2.
TKeyDocument makeDocument(int nodes, int entries) {
    TKeyDocument document;
    for (int k = 0; k < nodes; ++k) {
        TNode node;
        node.Mesh = "mesh" + std::to_string(k);
        for (int e = 0; e < entries; ++e) {
            const std::vector<std::string> cells = entryCells(2 * e);
            for (int c = 0; c < 8; ++c)
                node.Data.setCell(ColFrame + c, e, cells[static_cast<std::size_t>(c)]);
        }
        node.Entries = static_cast<std::int16_t>(entries);
        document.Nodes.push_back(std::move(node));
    }
    return document;
}

std::vector<CellEdit> rowEdits(int entry, int frame) {
    std::vector<CellEdit> edits;
    const std::vector<std::string> cells = entryCells(frame);
    for (int c = 0; c < 8; ++c)
        edits.push_back({ColFrame + c, entry, cells[static_cast<std::size_t>(c)]});
    return edits;
}

struct OperationCase {
    const char* name;
    std::function<bool(EditSession&)> run; // false: the session refused
    const char* stepName;                  // empty: refused, nothing to undo
    std::function<void(EditSession&)> prepare = nullptr;
};

TEST(EditSession, everyOperation_undoRestoresAndRedoRepeats) {
    const std::vector<OperationCase> cases = {
        {"tool run",
         [](EditSession& s) {
             s.applyCellEdits(rowEdits(10, 21), "Transform Object");
             return true;
         },
         "Transform Object"},
        {"typing",
         [](EditSession& s) {
             s.typeCell(ColX, 12, "7.5");
             return true;
         },
         "typing in entry 12"},
        {"clear",
         [](EditSession& s) {
             s.clearEntries(2, 4);
             return true;
         },
         kStepClearFrames},
        {"delete",
         [](EditSession& s) {
             s.deleteEntries(0, 9);
             return true;
         },
         kStepDeleteFrames},
        {"insert", [](EditSession& s) { return s.insertEntries(3, 5); }, kStepInsertFrames},
        {"insert up to the limit", [](EditSession& s) { return s.insertEntries(987, 0); },
         kStepInsertFrames},
        {"insert without room", [](EditSession& s) { return s.insertEntries(988, 0); }, ""},
        {"insert pushing data after an emptied entry out",
         [](EditSession& s) { return s.insertEntries(1, 20); }, "",
         [](EditSession& s) {
             s.typeCell(ColX, 999, "1");
             s.markSaved();
         }},
        {"paste",
         [](EditSession& s) {
             s.copyEntries(2, 4);
             return s.pasteEntries(0);
         },
         kStepPasteFrames},
        {"paste without room",
         [](EditSession& s) {
             s.copyEntries(0, 11);
             return s.pasteEntries(990);
         },
         ""},
        {"add node", [](EditSession& s) { return s.addNode(); }, kStepAddNode},
        {"remove node", [](EditSession& s) { return s.removeLastNode(); }, kStepRemoveNode},
        {"remove current node",
         [](EditSession& s) {
             s.changeNode(2);
             return s.removeLastNode();
         },
         ""},
        {"mesh name",
         [](EditSession& s) {
             s.setMeshName("body");
             s.setMeshName("body2");
             return true;
         },
         kStepMeshName},
        {"frame rate",
         [](EditSession& s) {
             s.setFrameRateText("30");
             return true;
         },
         kStepFrameRate},
        {"header",
         [](EditSession& s) {
             KeyHeader header = s.header();
             header.type = "0x000F";
             header.frames = 40;
             header.markers.push_back({7.5f, 3});
             s.setHeader(header, kStepMarkers);
             return true;
         },
         kStepMarkers},
        {"joint number",
         [](EditSession& s) {
             s.changeNode(1);
             s.setJoint(4);
             return true;
         },
         kStepJoint},
        {"remove a node driving another joint", [](EditSession& s) { return s.removeLastNode(); },
         kStepRemoveNode,
         [](EditSession& s) {
             TKeyDocument document = makeDocument(3, 13);
             document.Nodes[2].Joint = 5;
             s.install(document);
         }},
        {"tool run on another node",
         [](EditSession& s) {
             s.changeNode(1);
             s.applyCellEdits(rowEdits(0, 1), "Offset Values");
             return true;
         },
         "Offset Values"},
        {"run over several nodes, one of them listed twice",
         [](EditSession& s) {
             s.changeNode(1);
             s.applyNodeCellEdits({{0, {{ColSteps, 3, "9"}}},
                                   {1, rowEdits(0, 1)},
                                   {2, {{ColSteps, 4, "7"}}},
                                   {2, {{ColSteps, 4, "8"}, {ColX, 5, "1"}}}},
                                  kStepMendJumps);
             return true;
         },
         kStepMendJumps},
    };
    for (const OperationCase& test : cases) {
        SCOPED_TRACE(test.name);
        EditSession session;
        session.install(makeDocument(3, 13));
        if (test.prepare)
            test.prepare(session);
        session.setCursor({ColY, 7});
        const Content before = contentOf(session);
        const bool accepted = test.run(session);
        const Content after = contentOf(session);
        const GridCursor cursorAfter = session.cursor();
        const int nodeAfter = session.currentNode();
        if (std::string(test.stepName).empty()) {
            EXPECT_FALSE(accepted);
            EXPECT_EQ(after, before);
            EXPECT_FALSE(session.modified());
            continue;
        }
        EXPECT_TRUE(accepted);
        EXPECT_FALSE(after == before);
        EXPECT_TRUE(session.modified());
        ASSERT_TRUE(session.canUndo());
        EXPECT_EQ(session.undoName(), test.stepName);

        session.setCursor({ColRoll, 900});
        session.undo();
        EXPECT_EQ(contentOf(session), before);
        EXPECT_FALSE(session.modified());
        EXPECT_FALSE(session.canUndo());
        EXPECT_EQ(session.redoName(), test.stepName);
        EXPECT_EQ(session.currentNode(), nodeAfter);
        EXPECT_EQ(session.cursor(), cursorAfter);

        session.redo();
        EXPECT_EQ(contentOf(session), after);
        EXPECT_TRUE(session.modified());
        EXPECT_FALSE(session.canRedo());
    }
}

TEST(EditSession, save_writesOnlyAfterTheCheckAndNamesTheFileOnlyAfterTheWrite) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("skyvane_save_" + std::to_string(::getpid()) + ".KEY"))
                                 .string();
    EditSession session;
    session.install(makeDocument(2, 3));
    int writes = 0;
    const DocumentWriter write = [&](const std::string& to, const TKeyDocument& document) {
        ++writes;
        saveKeyFile(to, document, "date", "time");
    };
    session.typeCell(ColX, 1, "abc");
    EXPECT_TRUE(session.save(path, write).fault());
    EXPECT_EQ(writes, 0);

    session.typeCell(ColX, 1, "2");
    const DocumentWriter failing = [](const std::string& to, const TKeyDocument&) {
        throw FileError(to + ": disk full");
    };
    EXPECT_THROW(session.save(path, failing), FileError);
    EXPECT_TRUE(session.modified());
    EXPECT_EQ(session.fileName(), "");

    EXPECT_FALSE(session.save(path, write).fault());
    EXPECT_EQ(writes, 1);
    EXPECT_FALSE(session.modified());
    EXPECT_EQ(session.fileName(), path);

    EditSession reader;
    EXPECT_TRUE(reader.open(path + ".missing").has_value());
    EXPECT_EQ(reader.fileName(), "");
    EXPECT_EQ(reader.open(path), std::nullopt);
    EXPECT_EQ(reader.fileName(), path);
    EXPECT_EQ(reader.nodeCount(), 2);
    reader.newDocument();
    EXPECT_EQ(reader.fileName(), "");
    std::filesystem::remove(path);
}

TEST(EditSession, pickedMeshName_isAStepOfItsOwnBetweenTyping) {
    EditSession session;
    session.setMeshName("bo");
    session.pickMeshName("torso");
    session.setMeshName("torso2");
    EXPECT_EQ(session.undoSteps(), 3u);
}

TEST(EditSession, undo_returnsToTheNodeAndCellOfTheStep) {
    EditSession session;
    session.install(makeDocument(3, 5));
    session.setCursor({ColFrame, 0});
    session.typeCell(ColPitch, 3, "45");
    session.changeNode(2);
    session.setCursor({ColFrame, 0});
    session.undo();
    EXPECT_EQ(session.currentNode(), 0);
    EXPECT_EQ(session.cursor(), (GridCursor{ColPitch, 3}));
    EXPECT_EQ(session.entries().cell(ColPitch, 3), "10");
    session.redo();
    EXPECT_EQ(session.entries().cell(ColPitch, 3), "45");
}

TEST(EditSession, typingIntoEmptyEntry_defaultsAreUndoneWithIt) {
    EditSession session;
    session.install(makeDocument(1, 4));
    session.typeCell(ColX, 4, "1");
    EXPECT_EQ(session.entries().cell(ColFrame, 4), "8");
    EXPECT_EQ(session.entryCount(), 5);
    session.undo();
    EXPECT_EQ(session.entries().cell(ColFrame, 4), "");
    EXPECT_EQ(session.entries().cell(ColSteps, 4), "");
    EXPECT_EQ(session.entryCount(), 4);
}

TEST(EditSession, modifiedFollowsTheLastSave) {
    EditSession session;
    EXPECT_FALSE(session.modified());
    session.setMeshName("a");
    session.setMeshName("ab");
    EXPECT_TRUE(session.modified());
    EXPECT_EQ(session.undoSteps(), 1u); // keystrokes in a row are one step
    session.setMeshName("");
    EXPECT_FALSE(session.modified()); // typed back to the start
    EXPECT_FALSE(session.canUndo());

    session.typeCell(ColX, 0, "1");
    session.markSaved();
    EXPECT_FALSE(session.modified());
    session.typeCell(ColX, 0, "2");
    EXPECT_TRUE(session.modified());
    session.undo();
    EXPECT_FALSE(session.modified());
    session.undo();
    EXPECT_TRUE(session.modified()); // before the save
    session.redo();
    EXPECT_FALSE(session.modified());

    session.setFrameRateText("30");
    session.markSaved();
    session.setFrameRateText("3"); // a new step once saved, not a continuation
    session.undo();
    EXPECT_EQ(session.frameRateText(), "30");
    EXPECT_FALSE(session.modified());

    // A new branch makes the saved state unreachable by redo.
    session.undo();
    session.typeCell(ColY, 0, "5");
    EXPECT_TRUE(session.modified());
    EXPECT_FALSE(session.canRedo());

    for (const auto& start : std::vector<std::function<void()>>{
             [&] { session.newDocument(); }, [&] { session.install(makeDocument(2, 3)); }}) {
        session.typeCell(ColZ, 1, "9");
        start();
        EXPECT_FALSE(session.modified());
        EXPECT_FALSE(session.canUndo());
        EXPECT_FALSE(session.canRedo());
    }
}

TEST(EditSession, steps_costTheCellsTheyChange) {
    EditSession session;
    session.install(makeDocument(kMaxNodes, kMaxEntries));
    session.typeCell(ColX, 500, "1");
    EXPECT_LT(session.historyBytes(), 1000u);
    session.applyCellEdits(rowEdits(999, 5000), "Auto Orientate");
    EXPECT_LT(session.historyBytes(), 10 * 1000u);
}

TEST(EditSession, historyHoldsAHundredSteps) {
    EditSession session;
    const Content start = contentOf(session);
    for (int i = 0; i < 150; ++i)
        session.typeCell(ColX, i % 10, std::to_string(i));
    int undone = 0;
    while (session.canUndo()) {
        session.undo();
        ++undone;
    }
    EXPECT_EQ(undone, 150);
    EXPECT_EQ(contentOf(session), start);

    // Beyond the limit the oldest steps go, the newest stay.
    for (int i = 0; i < int(kHistorySteps) + 10; ++i)
        session.typeCell(ColY, i % 7, std::to_string(i));
    EXPECT_EQ(session.undoSteps(), kHistorySteps);
    EXPECT_EQ(session.undoName(), typingStepName((int(kHistorySteps) + 9) % 7));
    // Undoing all that is kept does not reach the start: the document still differs from it.
    while (session.canUndo())
        session.undo();
    EXPECT_TRUE(session.modified());
}

// Random operations on a document of up to 50 nodes of 1000 entries: undoing them all gives
// the start back byte for byte, redoing them all the end.
TEST(EditSession, randomOperations_undoAllAndRedoAll) {
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&random](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        EditSession session;
        session.install(seed == 1 ? makeDocument(kMaxNodes, kMaxEntries)
                                  : makeDocument(pick(1, 8), pick(0, 60)));
        const Content start = contentOf(session);
        for (int i = 0; i < 120; ++i) {
            const int entries = session.entryCount();
            const int a = pick(0, kMaxEntries - 1);
            const int b = std::min(kMaxEntries - 1, a + pick(0, 20));
            switch (pick(0, 12)) {
            case 0:
                if (entries > 0)
                    session.typeCell(pick(ColX, ColRoll), pick(0, entries - 1),
                                     std::to_string(pick(-99, 99)));
                break;
            case 1:
                session.applyCellEdits(rowEdits(std::min(entries, kMaxEntries - 1), 2 * entries),
                                       "Transform Object");
                break;
            case 2:
                session.clearEntries(std::min(a, entries), std::min(b, entries));
                break;
            case 3:
                session.deleteEntries(a, b);
                break;
            case 4:
                session.insertEntries(pick(1, 100), a);
                break;
            case 5:
                session.copyEntries(0, std::max(0, std::min(entries - 1, 30)));
                break;
            case 6:
                session.pasteEntries(pick(0, entries));
                break;
            case 7:
                session.addNode();
                break;
            case 8:
                session.removeLastNode();
                break;
            case 9:
                session.setMeshName("m" + std::to_string(a));
                break;
            case 10:
                session.setFrameRateText(std::to_string(pick(1, 60)));
                break;
            case 11:
                session.finishTyping();
                session.setCursor({pick(ColEntry, ColRoll), a});
                break;
            default:
                session.changeNode(pick(0, session.nodeCount() - 1));
                break;
            }
        }
        const Content end = contentOf(session);
        while (session.canUndo())
            session.undo();
        EXPECT_EQ(contentOf(session), start);
        EXPECT_FALSE(session.modified());
        while (session.canRedo())
            session.redo();
        EXPECT_EQ(contentOf(session), end);
    }
}

TEST(EditSession, saving_checksEveryFaultAndWritesTheTypedFrameRate) {
    EditSession session;
    session.install(makeDocument(2, 3));
    EXPECT_FALSE(session.checkForSave().fault());
    EXPECT_EQ(session.documentToSave().Fps, 15.0f);

    session.setMeshName("");
    session.setFrameRateText("fast");
    session.clearEntries(1, 1);
    const SaveCheck check = session.checkForSave();
    EXPECT_TRUE(check.node.fault());
    EXPECT_TRUE(check.frameRateInvalid);
    ASSERT_TRUE(check.mesh.has_value());
    EXPECT_EQ(check.mesh->node, 0);

    session.setFrameRateText("29.97");
    EXPECT_EQ(session.documentToSave().Fps, 29.97f);
    EXPECT_EQ(session.playbackTiming().fps, 29.97f);
    EXPECT_EQ(session.playbackTiming().frameCount, 5); // node 1 reaches Frame 4
}

// Transform Object takes the number the box shows, not the file's more precise rate, and only
// one of the 32-bit range; zero and negative rates pass.
TEST(EditSession, typedFrameRate_isTheShownNumberWithinThe32BitRange) {
    EditSession session;
    TKeyDocument document = makeDocument(1, 2);
    document.Fps = 12.345f;
    session.install(document);
    EXPECT_EQ(session.typedFrameRate(), 12.35f);
    EXPECT_EQ(session.savedFrameRate(), 12.345f);
    const std::pair<const char*, std::optional<float>> cases[] = {
        {"-15", -15.0f}, {"1e39", std::nullopt}, {"-1e39", std::nullopt}, {"fast", std::nullopt}};
    for (const auto& [text, rate] : cases) {
        session.setFrameRateText(text);
        EXPECT_EQ(session.typedFrameRate(), rate) << text;
    }
}

} // namespace
} // namespace skyvane
