// The import preview window.
#include "authoring/UImportPreview.h"

#include "common/ShellState.h"
#include "widgets/Ubackdrop.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace authoring;

TFrmImportPreview::TFrmImportPreview(const QString &fileName, const ImportPreview &preview, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmImportPreview"));
    setWindowTitle(QStringLiteral("导入试题"));
    // Borderless like the entry window it opens over, with the same strip.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    new backdrop::StripDragger(this);
    const bool compact = shell().compactScreen();
    setFont(backdrop::windowFont(compact));
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(14, backdrop::StripHeight + 10, 14, 12);
    auto *file = new QLabel(QStringLiteral("文件：") + QFileInfo(fileName).fileName(), this);
    file->setObjectName(QStringLiteral("LbFile"));
    root->addWidget(file);
    LbSummary = new QLabel(previewSummary(preview), this);
    LbSummary->setObjectName(QStringLiteral("LbSummary"));
    LbSummary->setWordWrap(true);
    root->addWidget(LbSummary);
    MemoProblems = new QPlainTextEdit(this);
    MemoProblems->setObjectName(QStringLiteral("MemoProblems"));
    MemoProblems->setAccessibleName(QStringLiteral("发现的问题"));
    MemoProblems->setReadOnly(true);
    QStringList lines;
    if (!preview.refusal.isEmpty())
        lines << preview.refusal;
    for (const ImportProblem &p : preview.problems)
        lines << problemLine(p);
    MemoProblems->setPlainText(lines.isEmpty() ? QStringLiteral("没有发现问题。") : lines.join(u'\n'));
    root->addWidget(MemoProblems, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BtnImportOk = new QPushButton(QStringLiteral("导入"), this);
    BtnImportOk->setObjectName(QStringLiteral("BtnImportOk"));
    BtnImportOk->setEnabled(preview.canSave());
    BtnImportOk->setAutoDefault(false);
    BtnClose = new QPushButton(QStringLiteral("关闭"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setAutoDefault(false);
    buttons->addWidget(BtnImportOk);
    buttons->addWidget(BtnClose);
    root->addLayout(buttons);
    connect(BtnImportOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnClose, &QPushButton::clicked, this, &TFrmImportPreview::reject);
    resize(compact ? QSize(560, 400) : QSize(680, 480));
}

void TFrmImportPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}

// Every way out (title bar included) is "关闭": nothing is written.
void TFrmImportPreview::reject() { QDialog::reject(); }

void TFrmImportPreview::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
