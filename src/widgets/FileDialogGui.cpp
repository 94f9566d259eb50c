// The real file dialog behind the program's file seam.
#include "widgets/FileDialogGui.h"

#include "platform/Seams.h"
#include "widgets/ModalGui.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

QString dialogFilter(const QString &pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads the patterns from the parentheses of the name.
        out << (name.contains(QLatin1Char('(')) ? name : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

void installRealFileDialog()
{
    seams::setOpenFileHandler([](const seams::FileRequest &r) {
        // Through the modal helper, like every window the program opens.
        QFileDialog d(QApplication::activeWindow(), r.caption, r.folder, dialogFilter(r.filter));
        d.setFileMode(QFileDialog::ExistingFile);
        d.setAcceptMode(QFileDialog::AcceptOpen);
        if (ui::execModal(&d) != QDialog::Accepted || d.selectedFiles().isEmpty())
            return QString();
        return d.selectedFiles().first();
    });
    seams::setSaveFileHandler([](const seams::FileRequest &r) {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), r.caption, r.folder, dialogFilter(r.filter));
    });
}
