// The grid control reaches Tavo only through its registration: the registry
// names the module file, CMSFlexGrid loads it from there, and without the
// registration every grid operation is a harmless no-op.
#include "gui/grid/ControlRegistry.h"
#include "gui/grid/MSFlexGrid.h"
#include "support/GridTestSupport.h"

#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QSettings>
#include <QWidget>

class GridRegistrationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QVERIFY(korvel::test::RegisterGridControlForTests()); }

    void registryNamesTheModuleFileInTheIsolatedHome()
    {
        const QString registered = korvel::LookupControlModule(QString::fromLatin1(kFlexGridClassId));
        QCOMPARE(QFileInfo(registered).canonicalFilePath(),
                 QFileInfo(korvel::test::GridControlModulePath()).canonicalFilePath());
        QVERIFY(QFileInfo(registered).isAbsolute());
        // The store lives under the temporary XDG_CONFIG_HOME, not the user's.
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ComponentRegistry"),
                        QStringLiteral("classes"));
        QVERIFY(store.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        // Class ids match whatever their letter case.
        QCOMPARE(korvel::LookupControlModule(QString::fromLatin1(kFlexGridClassId).toLower()), registered);
    }

    void createMakesAVisibleChildOfTheParent()
    {
        QWidget parent;
        CMSFlexGrid grid;
        QVERIFY(grid.Create(&parent, QRect(10, 20, 300, 200)));
        QVERIFY(grid.IsCreated());
        QCOMPARE(grid.Widget()->parentWidget(), &parent);
        QCOMPARE(grid.Widget()->geometry(), QRect(10, 20, 300, 200));
        QVERIFY(!grid.Widget()->isHidden());
        QVERIFY(!grid.Create(&parent, QRect()));  // one control per wrapper
        QCOMPARE(grid.GetFixedRows(), 1);
        QCOMPARE(grid.GetFixedCols(), 1);
    }

    void withoutRegistrationCreateFailsAndOperationsAreNoOps()
    {
        QVERIFY(korvel::UnregisterControlModule(QString::fromLatin1(kFlexGridClassId)));
        QWidget parent;
        CMSFlexGrid grid;
        QVERIFY(!grid.Create(&parent, QRect(0, 0, 100, 100)));
        QVERIFY(!grid.IsCreated());
        QVERIFY(grid.Widget() == nullptr);
        grid.SetRows(10);
        grid.SetRow(3);
        grid.SetTextMatrix(1, 1, "x");
        grid.SetText("y");
        grid.SetCurrentCellColor(0xC0FFFF);
        grid.SetColWidth(0, 500);
        QCOMPARE(grid.GetRows(), 0);
        QCOMPARE(grid.GetRow(), 0);
        QCOMPARE(grid.GetTextMatrix(1, 1), std::string());
        QCOMPARE(grid.GetText(), std::string());
        QCOMPARE(grid.GetColWidth(0), 0);
        QVERIFY(parent.children().isEmpty());
    }

    void registrationNamingAMissingFileFailsCleanly()
    {
        QVERIFY(korvel::RegisterControlModule(QString::fromLatin1(kFlexGridClassId),
                                              QStringLiteral("/nonexistent/Msflxgrd.ocx")));
        QWidget parent;
        CMSFlexGrid grid;
        QVERIFY(!grid.Create(&parent, QRect(0, 0, 100, 100)));
        QVERIFY(!grid.IsCreated());
    }

    void factoryRefusesOtherClasses()
    {
        QLibrary module(korvel::test::GridControlModulePath());
        QVERIFY(module.load());
        const auto create = reinterpret_cast<FlexGridCreateFn>(module.resolve(kFlexGridCreateEntry));
        QVERIFY(create);
        QWidget parent;
        QVERIFY(create("{00000000-0000-0000-0000-000000000000}", &parent) == nullptr);
        QVERIFY(create(nullptr, &parent) == nullptr);
        QVERIFY(parent.children().isEmpty());
    }

    void parentDeletingTheWidgetLeavesTheWrapperHarmless()
    {
        auto parent = std::make_unique<QWidget>();
        CMSFlexGrid grid;
        QVERIFY(grid.Create(parent.get(), QRect(0, 0, 200, 100)));
        grid.SetRows(5);
        parent.reset();
        QVERIFY(!grid.IsCreated());
        QCOMPARE(grid.GetRows(), 0);
        grid.SetRow(2);  // must not touch the deleted control
        QCOMPARE(grid.GetTextMatrix(0, 0), std::string());
    }

    void handlerDeletingTheGridEndsTheMoveSafely()
    {
        auto parent = std::make_unique<QWidget>();
        CMSFlexGrid grid;
        QVERIFY(grid.Create(parent.get(), QRect(0, 0, 200, 100)));
        grid.SetRows(5);
        int after = 0;
        connect(&grid, &CMSFlexGrid::LeaveCell, this, [&] { parent.reset(); });
        connect(&grid, &CMSFlexGrid::RowColChange, this, [&] { ++after; });
        grid.SetRow(3);
        QVERIFY(!grid.IsCreated());
        QCOMPARE(after, 0);
    }

    void wrapperTakesItsWidgetAlong()
    {
        QWidget parent;
        QPointer<QWidget> widget;
        {
            CMSFlexGrid grid;
            QVERIFY(grid.Create(&parent, QRect(0, 0, 200, 100)));
            widget = grid.Widget();
        }
        QVERIFY(widget.isNull());
    }

    void gridsShareOneLoadedModule()
    {
        QWidget parent;
        CMSFlexGrid first;
        CMSFlexGrid second;
        QVERIFY(first.Create(&parent, QRect(0, 0, 200, 100)));
        QVERIFY(second.Create(&parent, QRect(0, 100, 200, 100)));
        first.SetTextMatrix(1, 1, "first");
        QCOMPARE(second.GetTextMatrix(1, 1), std::string());
        QCOMPARE(first.Widget()->metaObject(), second.Widget()->metaObject());
    }
};

KORVEL_TEST_MAIN(GridRegistrationTest)
#include "grid_registration_test.moc"
