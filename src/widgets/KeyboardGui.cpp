// Grids and buttons worked by keys.
#include "widgets/KeyboardGui.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

namespace keys {

namespace {

const char *const EnterToWindow = "keysEnterToWindow";

bool isEnter(const QKeyEvent *k)
{
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !(k->modifiers() & ~Qt::KeypadModifier);
}

class GridKeys : public QObject {
public:
    GridKeys(QAbstractItemView *grid, std::function<void()> open) : QObject(grid), m_grid(grid), m_open(std::move(open))
    {
        grid->setTabKeyNavigation(false);
        grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            if (m_open && m_grid->currentIndex().isValid())
                m_open();
            return true;
        }
        if (event->type() == QEvent::FocusIn)
            showCurrentRow();
        return false;
    }

private:
    void showCurrentRow()
    {
        QAbstractItemModel *m = m_grid->model();
        QItemSelectionModel *sel = m_grid->selectionModel();
        if (!m || !sel || m->rowCount() == 0)
            return;
        QModelIndex current = m_grid->currentIndex();
        if (!current.isValid()) {
            // The first shown column of the first row.
            int column = 0;
            if (auto *table = qobject_cast<QTableView *>(m_grid))
                while (column < m->columnCount() - 1 && table->isColumnHidden(column))
                    ++column;
            current = m->index(0, column);
            m_grid->setCurrentIndex(current);
        }
        if (!sel->isRowSelected(current.row(), current.parent()))
            sel->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_grid->scrollTo(current);
    }

    QAbstractItemView *m_grid;
    std::function<void()> m_open;
};

bool enterLeftToWindow(const QWidget *w)
{
    for (; w; w = w->parentWidget())
        if (w->property(EnterToWindow).toBool())
            return true;
    return false;
}

class ButtonKeys : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent *>(event)))
            return false;
        auto *b = qobject_cast<QAbstractButton *>(watched);
        if (!b || b != QApplication::focusWidget() || !b->isEnabled() || !b->isVisible() || enterLeftToWindow(b))
            return false;
        if (auto *p = qobject_cast<QPushButton *>(b); p && (p->autoDefault() || p->isDefault()))
            return false;
        b->click();
        return true;
    }
};

} // namespace

void workGridByKeys(QAbstractItemView *grid, std::function<void()> open)
{
    if (grid)
        new GridKeys(grid, std::move(open));
}

void installButtonKeys()
{
    static ButtonKeys *installed = nullptr;
    if (installed || !qApp)
        return;
    installed = new ButtonKeys;
    installed->setParent(qApp);
    qApp->installEventFilter(installed);
}

void leaveEnterToWindow(QWidget *area)
{
    if (area)
        area->setProperty(EnterToWindow, true);
}

} // namespace keys
