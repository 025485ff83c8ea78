// The window as designed: its frame, and every component's name, place, text,
// font, colour and tab order.
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "WindowHarness.h"

class TestWindowDesign : public QObject {
    Q_OBJECT

private slots:
    void frameIsFixedAndPlaced()
    {
        WindowHarness Window;
        const TMainForm& Form = Window.Form;
        QCOMPARE(Form.objectName(), QString("MainForm"));
        QCOMPARE(Form.windowTitle(), QString("MainForm"));
        QCOMPARE(Form.pos(), QPoint(449, 228));
        QCOMPARE(Form.size(), QSize(578, 243));
        QCOMPARE(Form.minimumSize(), QSize(578, 243));
        QCOMPARE(Form.maximumSize(), QSize(578, 243));
        QVERIFY(!(Form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(Form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(Form.palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(Form.font().pixelSize(), 11);
    }

    void componentsAreLaidOut_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");

        QTest::newRow("Label1") << "Label1" << QRect(8, 16, 561, 19) << QString::fromUtf8("Quoril 1.0 \u2014 Brelloc sample");
        QTest::newRow("B_Apri") << "B_Apri" << QRect(48, 56, 97, 41) << "Read IFO File";
        QTest::newRow("B_Get") << "B_Get" << QRect(48, 120, 97, 41) << "Brelloc";
        QTest::newRow("B_Save") << "B_Save" << QRect(48, 183, 97, 41) << "Write IFO File";
        QTest::newRow("L_FileName") << "L_FileName" << QRect(168, 56, 393, 17) << "File:";
        QTest::newRow("L_Identifier") << "L_Identifier" << QRect(168, 80, 185, 17) << "Identifier:";
        QTest::newRow("L_Provider") << "L_Provider" << QRect(376, 80, 185, 17) << "Provider:";
        QTest::newRow("L_Get") << "L_Get" << QRect(168, 120, 393, 16) << "Calculate:";
        QTest::newRow("L_Originale") << "L_Originale" << QRect(168, 144, 185, 17) << "Original:";
        QTest::newRow("L_Ricalcolato") << "L_Ricalcolato" << QRect(376, 144, 185, 17) << "Corrected:";
        QTest::newRow("L_Type") << "L_Type" << QRect(264, 208, 297, 21) << "Quoril project";
    }

    void componentsAreLaidOut()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        WindowHarness Window;
        auto* Component = Window.Form.findChild<QWidget*>(name);
        QVERIFY(Component);
        QCOMPARE(Component->geometry(), place);
        if (auto* Label = qobject_cast<QLabel*>(Component)) QCOMPARE(Label->text(), text);
        if (auto* Button = qobject_cast<QPushButton*>(Component)) QCOMPARE(Button->text(), text);
    }

    void stepNumbersStandAtTheirSteps_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label2") << "Label2" << QPoint(16, 64) << "1";
        QTest::newRow("Label5") << "Label5" << QPoint(16, 128) << "2";
        QTest::newRow("Label6") << "Label6" << QPoint(16, 192) << "3";
    }

    void stepNumbersStandAtTheirSteps()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, place);
        QFETCH(QString, text);
        WindowHarness Window;
        auto* Label = Window.Form.findChild<QLabel*>(name);
        QVERIFY(Label);
        QCOMPARE(Label->pos(), place);
        QCOMPARE(Label->text(), text);
        QVERIFY(Label->font().bold());
        QCOMPARE(Label->font().pixelSize(), 16);
        QCOMPARE(Label->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    void headingsHaveTheirFontsAndColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("alignment");
        QTest::newRow("Label1") << "Label1" << 16 << QColor(Qt::yellow) << int(Qt::AlignHCenter);
        QTest::newRow("L_Get") << "L_Get" << 13 << QColor(Qt::white) << int(Qt::AlignHCenter);
        QTest::newRow("L_Type") << "L_Type" << 16 << QColor(Qt::yellow) << int(Qt::AlignRight);
    }

    void headingsHaveTheirFontsAndColours()
    {
        QFETCH(QString, name);
        QFETCH(int, pixelSize);
        QFETCH(QColor, colour);
        QFETCH(int, alignment);
        WindowHarness Window;
        auto* Label = Window.Form.findChild<QLabel*>(name);
        QVERIFY(Label);
        QVERIFY(Label->font().bold());
        QCOMPARE(Label->font().pixelSize(), pixelSize);
        QCOMPARE(Label->palette().color(QPalette::WindowText), colour);
        QCOMPARE(int(Label->alignment() & Qt::AlignHorizontal_Mask), alignment);
    }

    void informationLabelsUseTheTooltipBackground()
    {
        WindowHarness Window;
        const QColor Tooltip = QApplication::palette().color(QPalette::ToolTipBase);
        for (const QLabel* Label : {Window.Form.L_FileName, Window.Form.L_Identifier, Window.Form.L_Provider,
                                    Window.Form.L_Originale, Window.Form.L_Ricalcolato}) {
            QVERIFY2(Label->autoFillBackground(), qPrintable(Label->objectName()));
            QCOMPARE(Label->palette().color(QPalette::Window), Tooltip);
        }
        QVERIFY(Window.Form.L_Provider->wordWrap());
    }

    void buttonsFollowTheTabOrder()
    {
        WindowHarness Window;
        QVERIFY(!Window.Form.B_Save->isEnabled());
        QList<QWidget*> Order;
        for (QWidget* Next = Window.Form.nextInFocusChain(); Next != &Window.Form; Next = Next->nextInFocusChain())
            if (qobject_cast<QPushButton*>(Next) && Next->parentWidget() == &Window.Form) Order.append(Next);
        const QList<QWidget*> Expected{Window.Form.B_Apri, Window.Form.B_Save, Window.Form.B_Get};
        QCOMPARE(Order, Expected);
    }

    void openDialogAcceptsUpperCaseNames()
    {
        WindowHarness Window;
        const QStringList Filters = Window.Form.OpenDialog1->nameFilters();
        QCOMPARE(Filters.size(), 1);
        QVERIFY(Filters[0].contains("*.ifo"));
        QVERIFY(Filters[0].contains("*.IFO"));
    }
};

BRELLOC_TEST_MAIN(TestWindowDesign)
#include "TestWindowDesign.moc"
