// The help window and the about box: their controls, captions and text.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QtTest>

#include "ui/about.h"
#include "ui/temphelp.h"

using skyvane::TAboutWin;
using skyvane::THelpWin;

class HelpAboutTest : public QObject {
    Q_OBJECT

private slots:
    void help_isAModalReadOnlyScrollingText() {
        THelpWin help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Helpa !"));
        QCOMPARE(help.geometry(), QRect(37, 41, 400, 400));
        QVERIFY(help.isModal());
        QVERIFY(!help.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!help.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo);
        QCOMPARE(memo->geometry(), QRect(8, 8, 377, 353));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        help.resize(600, 500);
        QCOMPARE(memo->size(), QSize(377, 353));
    }

    void help_textHasItsTitlesUnderlinedAndNoAddresses() {
        THelpWin help;
        const QString text =
            help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Skyvane v. 1.1 help"));
        QCOMPARE(lines.value(1), QString(lines.value(0).size(), QLatin1Char('=')));
        for (const char* title :
             {"What's new in version 1.1?", "3D Preview :", "Transform Object", "Auto Orientate"}) {
            const auto at = lines.indexOf(QString::fromLatin1(title));
            QVERIFY2(at > 0, title);
            QCOMPARE(lines.value(at + 1), QString(lines.value(at).size(), QLatin1Char('-')));
        }
        for (const char* address : {"@", "http", "www."})
            QVERIFY2(!text.contains(QString::fromLatin1(address)), address);
    }

    // The newest version in the changelog is the program's, and its list starts with the help's
    // "What's new", word for word.
    void help_whatsNewIsTheChangelogsNewest() {
        QFile file(QStringLiteral(SKYVANE_SOURCE_DIR "/CHANGELOG.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString changelog = QString::fromUtf8(file.readAll());
        const qsizetype newest = changelog.indexOf(QStringLiteral("\n## "));
        const QString section =
            changelog.mid(newest, changelog.indexOf(QStringLiteral("\n## "), newest + 1) - newest);
        QVERIFY2(section.startsWith(QStringLiteral("\n## " SKYVANE_VERSION " (")),
                 qPrintable(section.left(40)));

        THelpWin help;
        const QString text =
            help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
        const QString title = QStringLiteral("What's new in version " SKYVANE_VERSION "?\n");
        const qsizetype start = text.indexOf(QLatin1Char('\n'), text.indexOf(title) + title.size());
        const QStringList items =
            text.mid(start + 2, text.indexOf(QStringLiteral("\n\n"), start + 2) - start - 2)
                .split(QLatin1Char('\n'));
        QCOMPARE(items.size(), 3);
        for (const QString& item : items)
            QVERIFY2(section.contains(QLatin1Char('\n') + item + QLatin1Char('\n')),
                     qPrintable(item));
    }

    void about_showsNameVersionPictureAndCredits() {
        TAboutWin about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Skyvane"));
        QCOMPARE(about.geometry(), QRect(105, 92, 192, 211));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.isModal());
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::black));
        const auto label = [&](const char* name) {
            return about.findChild<QLabel*>(QString::fromLatin1(name));
        };
        QCOMPARE(label("Label1")->text(), QStringLiteral("Skyvane"));
        QVERIFY(label("Label1")->font().bold());
        QCOMPARE(label("Label1")->font().pixelSize(), 24);
        QCOMPARE(label("Label2")->text(), QStringLiteral("version 1.1"));
        for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
            QVERIFY2(label(name), name);
            QCOMPARE(label(name)->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        }
        for (const char* credit : {"Label3", "Label4"}) {
            QVERIFY(!label(credit)->text().isEmpty());
            QVERIFY2(label(credit)->sizeHint().width() <= 192, credit);
        }
        QVERIFY(label("Label3")->text().contains(QStringLiteral("The Skyvane developers")));
        QCOMPARE(label("Image1")->size(), QSize(148, 100));
        const QImage picture = label("Image1")->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(148, 100));
        QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::black));
        QVERIFY(picture.pixelColor(74, 52) != QColor(Qt::black));
    }

    void closing_onlyHides() {
        THelpWin help;
        TAboutWin about;
        for (QDialog* window : {static_cast<QDialog*>(&help), static_cast<QDialog*>(&about)}) {
            QPointer<QDialog> alive(window);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            window->close();
            QVERIFY(alive);
            QVERIFY(window->isHidden());
        }
    }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
