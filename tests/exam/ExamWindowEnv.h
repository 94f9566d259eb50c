// A bank with one subject's questions (none for subject 0) and the
// answer-sheet pictures beside it, prompts and the waiting window's stages
// recorded, and the exam window run through the modal seam with a clock
// the test moves.
#pragma once

#include "ExamFixture.h"

#include "exam/UexamLinks.h"
#include "exam/UexamProgress.h"
#include "exam/UexamStart.h"
#include "exam/Uexam.h"
#include "store/SqlText.h"
#include "widgets/ModalGui.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace examwindow {

struct Env {
    TestBank b;
    PromptRecorder prompts;
    QStringList stages;   // the waiting window's texts, in order
    int ended = 0;
    qint64 now = 1000;    // the exam clock's time source, ms

    explicit Env(int subject, int leastMark = 0, int examTime = 7200)
    {
        QDir().mkpath(b.dir() + QStringLiteral("pic"));
        for (const char *f : {"vloxup.bmp", "vloxdw.bmp", "vloxyes.bmp", "vloxno.bmp", "vloxover.bmp", "vloxdw_r.bmp",
                              "vloxdw_w.bmp"})
            QFile::copy(QStringLiteral(PELLBROOK_SOURCE_DIR "/pic/") + QLatin1String(f),
                        b.dir() + QStringLiteral("pic/") + QLatin1String(f));
        if (subject)
            examfixture::fillSubject(b, subject);
        b.run(QStringLiteral("insert into tab_plan (LeastMark, ExamTime) values (?, ?)"), {leastMark, examTime});
        exam::setProgressView({[this](const QString &s) { stages << s; }, [] {}});
        seams::setProgramEnd([this] { ++ended; });
    }
    ~Env()
    {
        ui::setModalHook({});
        exam::setProgressView({});
        seams::setProgramEnd({});
        examlinks::setNoteLink({});
        examlinks::setExplanationLink({});
        examlinks::setKeyPointsLink({});
    }
    // Runs the mock exam of the subject; drive gets the shown window.
    void runExam(int subject, const std::function<void(TFrmExam &)> &drive)
    {
        ui::setModalHook([this, drive](QDialog *d) {
            auto *w = qobject_cast<TFrmExam *>(d);
            EXPECT_NE(w, nullptr);
            if (!w)
                return 0;
            w->clock().setSource([this] { return now; });
            w->show();
            drive(*w);
            return w->result();
        });
        mnks(subject);
        ui::setModalHook({});
    }
    int count(const QString &sql) { return b.value(sql).toInt(); }
    QString today() const { return sqltext::dateText(const_cast<TestBank &>(b).clock().today()); }
};

} // namespace examwindow
