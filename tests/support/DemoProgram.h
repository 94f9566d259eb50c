// The program folder of a window test that runs on the demo bank: the
// demo bank, the pictures beside the program, a fixed clock, prompts
// recorded, and the data module over it.
#pragma once

#include "DemoBank.h"
#include "common/ShellState.h"
#include "exam/UexamProgress.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "support/TestBank.h"
#include "widgets/ModalGui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

struct DemoProgram {
    QTemporaryDir dir;
    seams::FixedClock clock;
    std::unique_ptr<TDM1> dm;
    PromptRecorder prompts;
    DemoProgram()
    {
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        QDir(dir.path()).mkpath(QStringLiteral("pic"));
        demobank::generate(dir.path() + QStringLiteral("/data/VORDANBANK01.db"));
        const QDir pics(QStringLiteral(PELLBROOK_SOURCE_DIR "/pic"));
        for (const QString &f : pics.entryList(QDir::Files))
            QFile::copy(pics.filePath(f), dir.path() + QStringLiteral("/pic/") + f);
        clock.date = QDate(2026, 3, 10);
        clock.time = QTime(10, 0, 0);
        clock.utcMs = 36000000;
        seams::setClock(&clock);
        seams::setAppDir(dir.path());
        dm = std::make_unique<TDM1>();
        shell() = ShellState();
        shell().ScreenMode = QStringLiteral("1024");
        shell().CurSubject = 1;
        exam::setProgressView({[](const QString &) {}, [] {}});
        seams::setProgramEnd([] {});
    }
    ~DemoProgram()
    {
        ui::setModalHook({});
        exam::setProgressView({});
        seams::setProgramEnd({});
        dm.reset();
        seams::setClock(nullptr);
        seams::setAppDir(QString());
        shell() = ShellState();
    }
};
