// Runs every window test of the editor in one QtTest executable.
#include <QApplication>
#include <QTest>
#include <memory>

std::unique_ptr<QObject> makeMainWindowTest();
std::unique_ptr<QObject> makeFrameCommandsTest();
std::unique_ptr<QObject> makeFileDialogTest();
std::unique_ptr<QObject> makeDialogsTest();
std::unique_ptr<QObject> makeOpeningTest();
std::unique_ptr<QObject> makeCheckPlaybackTest();
std::unique_ptr<QObject> makeUndoTest();
std::unique_ptr<QObject> makeHeaderTest();
std::unique_ptr<QObject> makePreviewWiringTest();

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    int failures = 0;
    for (const auto& test :
         {makeMainWindowTest(), makeFrameCommandsTest(), makeFileDialogTest(), makeDialogsTest(),
          makeOpeningTest(), makeCheckPlaybackTest(), makeUndoTest(), makeHeaderTest(),
          makePreviewWiringTest()})
        failures += QTest::qExec(test.get(), argc, argv);
    return failures == 0 ? 0 : 1;
}
