// Menu movie player on Qt Quick.
#include "platform/MenuPlayerWidget.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <memory>

QQmlEngine *sharedMenuEngine()
{
    // The menu is flat 2D artwork: Qt Quick's software renderer draws it
    // without OpenGL, starts fast and works the same on every display.
    static const bool software = [] {
        if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    Q_UNUSED(software);
    static QQmlEngine *engine = new QQmlEngine;
    return engine;
}

bool MenuPlayerWidget::playerAvailable()
{
    QQmlComponent probe(sharedMenuEngine());
    probe.setData("import QtQuick\nItem {}\n", QUrl());
    std::unique_ptr<QObject> item(probe.create());
    return item != nullptr;
}

MenuPlayerWidget::MenuPlayerWidget(QWidget *parent) : QQuickWidget(sharedMenuEngine(), parent)
{
    setObjectName(QStringLiteral("ShockwaveFlash1"));
    setResizeMode(QQuickWidget::SizeRootObjectToView);
    setClearColor(Qt::white);
    setFocusPolicy(Qt::StrongFocus);
}

bool MenuPlayerWidget::play(const QString &file)
{
    setSource(QUrl::fromLocalFile(file));
    if (status() != QQuickWidget::Ready || !rootObject())
        return false;
    connect(rootObject(), SIGNAL(fsCommand(QString, QString)), this, SLOT(fsCommand(QString, QString)));
    rootObject()->setFocus(true);
    rootObject()->forceActiveFocus();
    return true;
}

void MenuPlayerWidget::sendCommand(const QString &command) { fsCommand(command, QString()); }

void MenuPlayerWidget::fsCommand(const QString &command, const QString &args)
{
    if (onCommand)
        onCommand(command, args);
}
