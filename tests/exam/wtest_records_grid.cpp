// The paper records grid: fixed column widths for both screen modes.
#include "ExamWindowEnv.h"

#include "common/ShellState.h"
#include "exam/PaperGeneration.h"
#include "exam/Ucheck.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>

TEST(PaperRecordsGrid, ColumnsKeepTheirWidths)
{
    struct Case {
        const char *mode;
        int title, score, used;
    } cases[] = {{"1024", 388, 80, 80}, {"800", 310, 65, 65}};
    for (const Case &c : cases) {
        examwindow::Env env(4);
        exam::generatePaper(env.b.dm(), 4);
        shell().ScreenMode = QString::fromLatin1(c.mode);
        TFrmCheck w;
        w.show();
        // A wider window must not stretch any column.
        w.resize(w.width() + 200, w.height());
        QCoreApplication::processEvents();
        EXPECT_EQ(w.DBGrid1->columnWidth(0), c.title) << c.mode;
        EXPECT_EQ(w.DBGrid1->columnWidth(1), c.score) << c.mode;
        EXPECT_EQ(w.DBGrid1->columnWidth(2), c.used) << c.mode;
    }
    shell().ScreenMode = QStringLiteral("1024");
}
