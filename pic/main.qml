// Velmora main menu.
//
// The main window plays this movie full screen.  Every entry sends its
// command string through fsCommand(command, args) (args is always empty); the
// main window turns the string into the window or action it stands for.
// Everything is laid out in units of a 1024 x 768 design frame scaled to the
// screen, so the menu reads the same at 800 x 600 and at 1920 x 1080.
// Keyboard: arrows move between entries by position, Tab / Shift+Tab walk
// them in reading order, Enter or Space opens the focused entry, Esc quits.
import QtQuick

// A focus scope, so that giving the menu the focus (as the main window does
// when it starts the movie or comes back from a window) hands it on to the
// entry that had it last, the first practice entry at start.
FocusScope {
    id: root
    focus: true
    width: 1024
    height: 768

    signal fsCommand(string command, string args)

    // Sends one menu command, as a click on its entry does.
    function send(cmd) {
        root.fsCommand(cmd, "")
    }

    // One design unit in pixels; the 1024 x 768 frame is centred on screen.
    readonly property real u: Math.max(0.5, Math.min(width / 1024, height / 768))
    readonly property real frameX: (width - 1024 * u) / 2
    readonly property real frameY: (height - 768 * u) / 2
    readonly property string fontFamily: "WenQuanYi Micro Hei"

    readonly property color inkDark: "#173847"
    readonly property color inkSoft: "#5d7784"
    readonly property color practiceColor: "#17879a"
    readonly property color examColor: "#2c69ad"
    readonly property color keyPointColor: "#3d7fb8"
    readonly property color recordColor: "#2f9474"
    readonly property color settingsColor: "#3f8796"
    readonly property color otherColor: "#5a7189"
    readonly property color quitColor: "#c25a4e"
    readonly property color focusRing: "#ffc24a"

    // Reading order of the entries, used by Tab and Shift+Tab.
    readonly property var tabOrder: [
        "lx", "lx2", "lx3", "lx4", "lx5",
        "mnks", "mnks2", "mnks3", "mnks4", "mnks5",
        "ksdg", "zsd",
        "szjh", "rz", "tj", "cj",
        "szks", "sztime", "music",
        "sj", "fg", "lxfs", "help", "about",
        "quit"
    ]
    property var entryByName: ({})

    function collectEntries(item, found) {
        for (var i = 0; i < item.children.length; ++i) {
            var child = item.children[i]
            if (child.isMenuEntry === true)
                found[child.objectName] = child
            collectEntries(child, found)
        }
        return found
    }

    function focusStep(from, delta) {
        var n = tabOrder.length
        var at = tabOrder.indexOf(from.objectName)
        for (var k = 1; k <= n; ++k) {
            var next = entryByName[tabOrder[(at + delta * k + n * k) % n]]
            if (next && next.visible && next.enabled) {
                next.forceActiveFocus(delta > 0 ? Qt.TabFocusReason : Qt.BacktabFocusReason)
                return
            }
        }
    }

    // Moves the focus to the nearest entry in direction (dx, dy).  Only
    // entries lying wholly beyond the focused one in that direction count;
    // among them the one sharing the focused entry's row (or column) wins,
    // then the closest, so rows and columns are followed naturally.
    function focusToward(from, dx, dy) {
        var a = from.mapToItem(root, 0, 0, from.width, from.height)
        var best = null
        var bestScore = 1e12
        for (var i = 0; i < tabOrder.length; ++i) {
            var b = entryByName[tabOrder[i]]
            if (!b || b === from || !b.visible || !b.enabled)
                continue
            var r = b.mapToItem(root, 0, 0, b.width, b.height)
            var gap    // distance along the direction, edge to edge
            var offset // distance across it, 0 when the two overlap
            if (dx !== 0) {
                gap = dx > 0 ? r.x - (a.x + a.width) : a.x - (r.x + r.width)
                offset = Math.max(0, Math.max(r.y, a.y) - Math.min(r.y + r.height, a.y + a.height))
            } else {
                gap = dy > 0 ? r.y - (a.y + a.height) : a.y - (r.y + r.height)
                offset = Math.max(0, Math.max(r.x, a.x) - Math.min(r.x + r.width, a.x + a.width))
            }
            if (gap < -2)
                continue
            // Distance between centres across the direction breaks ties
            // between entries that all overlap (a wide card above narrow ones).
            var centre = dx !== 0 ? Math.abs((r.y + r.height / 2) - (a.y + a.height / 2))
                                  : Math.abs((r.x + r.width / 2) - (a.x + a.width / 2))
            var score = offset * 4 + gap + centre * 0.25
            if (score < bestScore) {
                bestScore = score
                best = b
            }
        }
        if (best)
            best.forceActiveFocus(Qt.OtherFocusReason)
    }

    Component.onCompleted: entryByName = collectEntries(root, {})

    Keys.onEscapePressed: (event) => {
        event.accepted = true
        root.send("quit")
    }

    // ------------------------------------------------------------ background

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#0c3457" }
            GradientStop { position: 0.55; color: "#0f5d78" }
            GradientStop { position: 1.0; color: "#137f89" }
        }
    }

    // Soft light spots drifting slowly behind the cards.  They move a
    // fraction of a pixel per step, so a few steps a second look smooth and
    // keep the idle menu cheap to repaint.
    property real ambientSeconds: 0
    Timer {
        interval: 250
        running: true
        repeat: true
        onTriggered: root.ambientSeconds += interval / 1000
    }

    Repeater {
        model: [
            { x: 0.08, y: 0.18, r: 0.34, a: 0.07, dx: 0.05, dy: 0.04, t: 46 },
            { x: 0.78, y: 0.10, r: 0.26, a: 0.06, dx: -0.06, dy: 0.05, t: 58 },
            { x: 0.62, y: 0.72, r: 0.42, a: 0.05, dx: 0.04, dy: -0.05, t: 62 },
            { x: 0.22, y: 0.80, r: 0.22, a: 0.07, dx: 0.06, dy: -0.03, t: 38 },
            { x: 0.92, y: 0.55, r: 0.18, a: 0.08, dx: -0.05, dy: 0.06, t: 34 }
        ]
        delegate: Rectangle {
            required property var modelData
            readonly property real drift: (1 - Math.cos(2 * Math.PI * root.ambientSeconds / modelData.t)) / 2
            width: modelData.r * root.height
            height: width
            radius: width / 2
            x: Math.round((modelData.x + modelData.dx * drift) * root.width - width / 2)
            y: Math.round((modelData.y + modelData.dy * drift) * root.height - height / 2)
            color: Qt.rgba(0.75, 0.95, 1.0, modelData.a)
            border.color: Qt.rgba(1, 1, 1, modelData.a)
            border.width: 1
        }
    }

    // --------------------------------------------------------------- pieces

    // One menu entry.  kind: "row" (a subject line with a number badge),
    // "item" (a line with a one-character badge) or "chip" (a small tile).
    component MenuEntry: Item {
        id: entry
        readonly property bool isMenuEntry: true
        property string kind: "item"
        property string label: ""
        property string hint: ""
        property string badge: ""
        property color accent: root.practiceColor
        readonly property bool hovered: mouse.containsMouse
        readonly property bool lit: activeFocus

        activeFocusOnTab: true
        Accessible.role: Accessible.Button
        Accessible.name: label
        Accessible.description: hint
        Accessible.onPressAction: activate()

        function activate() {
            flash.restart()
            root.send(entry.objectName)
        }

        // The entry grows a little under the mouse and with the focus, and
        // gives way when pressed.  (Geometry, not a scale transform: the
        // software renderer repaints resized items cleanly.)
        property real grow: mouse.pressed ? -1.5 * root.u : ((hovered || lit) ? 2.5 * root.u : 0)
        Behavior on grow { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }

        Item {
            id: lift
            x: -entry.grow
            y: -entry.grow
            width: entry.width + 2 * entry.grow
            height: entry.height + 2 * entry.grow

            // Focus ring.
            Rectangle {
                id: ring
                anchors.fill: parent
                anchors.margins: -4 * root.u
                radius: face.radius + 4 * root.u
                color: "transparent"
                border.color: root.focusRing
                border.width: Math.max(2, 3 * root.u)
                visible: entry.lit
            }

            Rectangle {
                id: face
                anchors.fill: parent
                radius: (entry.kind === "chip" ? 12 : 10) * root.u
                color: entry.lit ? entry.accent
                                 : entry.hovered ? Qt.tint("#f3f8fa", Qt.rgba(entry.accent.r, entry.accent.g, entry.accent.b, 0.16))
                                                 : "#f3f8fa"
                border.color: entry.lit ? Qt.darker(entry.accent, 1.25)
                                        : Qt.rgba(entry.accent.r, entry.accent.g, entry.accent.b, entry.hovered ? 0.55 : 0.22)
                border.width: 1
                Behavior on color { ColorAnimation { duration: 160 } }
            }

            // Badge: a subject number, or one character naming the entry.
            Rectangle {
                id: badgeBox
                width: (entry.kind === "row" ? 38 : 28) * root.u
                height: width
                radius: entry.kind === "row" ? width / 2 : 7 * root.u
                x: entry.kind === "chip" ? (lift.width - width) / 2 : 12 * root.u
                y: entry.kind === "chip" ? 9 * root.u : (lift.height - height) / 2
                color: entry.lit ? "#ffffff" : entry.accent
                Behavior on color { ColorAnimation { duration: 160 } }
                Text {
                    anchors.centerIn: parent
                    text: entry.badge
                    color: entry.lit ? entry.accent : "#ffffff"
                    font.family: root.fontFamily
                    font.bold: true
                    font.pixelSize: Math.round((entry.kind === "row" ? 19 : 15) * root.u)
                }
            }

            Column {
                visible: entry.kind !== "chip"
                anchors.verticalCenter: parent.verticalCenter
                anchors.left: badgeBox.right
                anchors.leftMargin: 12 * root.u
                anchors.right: chevron.left
                spacing: 2 * root.u
                Text {
                    width: parent.width
                    text: entry.label
                    elide: Text.ElideRight
                    color: entry.lit ? "#ffffff" : root.inkDark
                    font.family: root.fontFamily
                    font.bold: entry.kind === "row"
                    font.pixelSize: Math.round((entry.kind === "row" ? 19 : 16) * root.u)
                }
                Text {
                    width: parent.width
                    visible: entry.hint.length > 0
                    text: entry.hint
                    elide: Text.ElideRight
                    color: entry.lit ? "#e4f4f7" : root.inkSoft
                    font.family: root.fontFamily
                    font.pixelSize: Math.round(12 * root.u)
                }
            }

            Text {
                id: chevron
                visible: entry.kind !== "chip"
                anchors.verticalCenter: parent.verticalCenter
                anchors.right: parent.right
                anchors.rightMargin: (entry.hovered || entry.lit ? 10 : 14) * root.u
                Behavior on anchors.rightMargin { NumberAnimation { duration: 150 } }
                text: "›"
                color: entry.lit ? "#ffffff" : entry.accent
                font.family: root.fontFamily
                font.pixelSize: Math.round(24 * root.u)
            }

            Text {
                visible: entry.kind === "chip"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 8 * root.u
                width: parent.width - 6 * root.u
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideRight
                text: entry.label
                color: entry.lit ? "#ffffff" : root.inkDark
                font.family: root.fontFamily
                font.pixelSize: Math.round(14 * root.u)
            }

            // A short flash when the entry is chosen.
            Rectangle {
                id: flashBox
                anchors.fill: parent
                radius: face.radius
                color: "#ffffff"
                opacity: 0
                NumberAnimation on opacity {
                    id: flash
                    running: false
                    from: 0.7
                    to: 0
                    duration: 380
                    easing.type: Easing.OutQuad
                }
            }

        }

        MouseArea {
            id: mouse
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: {
                entry.forceActiveFocus(Qt.MouseFocusReason)
                entry.activate()
            }
        }

        Keys.onPressed: (event) => {
            switch (event.key) {
            case Qt.Key_Return:
            case Qt.Key_Enter:
            case Qt.Key_Space:
                event.accepted = true
                if (!event.isAutoRepeat)
                    entry.activate()
                break
            case Qt.Key_Left:  event.accepted = true; root.focusToward(entry, -1, 0); break
            case Qt.Key_Right: event.accepted = true; root.focusToward(entry, 1, 0); break
            case Qt.Key_Up:    event.accepted = true; root.focusToward(entry, 0, -1); break
            case Qt.Key_Down:  event.accepted = true; root.focusToward(entry, 0, 1); break
            case Qt.Key_Tab:     event.accepted = true; root.focusStep(entry, 1); break
            case Qt.Key_Backtab: event.accepted = true; root.focusStep(entry, -1); break
            }
        }
    }

    // A white card with a coloured title; it rises into place at start.
    component Card: Item {
        id: card
        property string title: ""
        property string subtitle: ""
        property color accent: root.practiceColor
        property int delay: 0
        default property alias content: body.data
        readonly property alias body: body

        opacity: 0
        transform: Translate { id: rise; y: 26 * root.u }

        SequentialAnimation {
            running: true
            PauseAnimation { duration: card.delay }
            ParallelAnimation {
                NumberAnimation { target: card; property: "opacity"; to: 1; duration: 480; easing.type: Easing.OutCubic }
                NumberAnimation { target: rise; property: "y"; to: 0; duration: 620; easing.type: Easing.OutCubic }
            }
        }

        Rectangle {   // shadow
            anchors.fill: parent
            anchors.topMargin: 4 * root.u
            anchors.leftMargin: 2 * root.u
            anchors.rightMargin: -2 * root.u
            anchors.bottomMargin: -5 * root.u
            radius: 16 * root.u
            color: Qt.rgba(0.02, 0.12, 0.2, 0.28)
        }
        Rectangle {
            anchors.fill: parent
            radius: 16 * root.u
            color: "#fbfdfe"
        }
        Rectangle {
            x: 16 * root.u
            y: 15 * root.u
            width: 5 * root.u
            height: 20 * root.u
            radius: width / 2
            color: card.accent
        }
        Text {
            x: 30 * root.u
            y: 11 * root.u
            text: card.title
            color: Qt.darker(card.accent, 1.2)
            font.family: root.fontFamily
            font.bold: true
            font.pixelSize: Math.round(19 * root.u)
        }
        Text {
            anchors.right: parent.right
            anchors.rightMargin: 16 * root.u
            y: 16 * root.u
            text: card.subtitle
            color: root.inkSoft
            font.family: root.fontFamily
            font.pixelSize: Math.round(12 * root.u)
        }
        Item {
            id: body
            x: 12 * root.u
            y: 50 * root.u
            width: card.width - 24 * root.u
            height: card.height - 62 * root.u
        }
    }

    // ---------------------------------------------------------------- header

    Item {
        id: header
        x: root.frameX + 40 * root.u
        y: root.frameY + 26 * root.u
        width: 944 * root.u
        height: 72 * root.u
        opacity: 0
        transform: Translate { id: headerDrop; y: -20 * root.u }
        ParallelAnimation {
            running: true
            NumberAnimation { target: header; property: "opacity"; to: 1; duration: 600; easing.type: Easing.OutCubic }
            NumberAnimation { target: headerDrop; property: "y"; to: 0; duration: 700; easing.type: Easing.OutCubic }
        }

        // Logo: an open book on a rounded tile.
        Rectangle {
            id: logo
            width: 62 * root.u
            height: width
            radius: 16 * root.u
            anchors.verticalCenter: parent.verticalCenter
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#35c2c9" }
                GradientStop { position: 1.0; color: "#1a6fa8" }
            }
            border.color: Qt.rgba(1, 1, 1, 0.35)
            border.width: 1
            Rectangle {
                x: 12 * root.u; y: 17 * root.u
                width: 18 * root.u; height: 26 * root.u
                radius: 3 * root.u
                color: "#ffffff"
                rotation: -8
            }
            Rectangle {
                x: 32 * root.u; y: 17 * root.u
                width: 18 * root.u; height: 26 * root.u
                radius: 3 * root.u
                color: "#e6f7f8"
                rotation: 8
            }
            Rectangle {
                x: 30 * root.u; y: 15 * root.u
                width: 2 * root.u; height: 30 * root.u
                color: "#1a6fa8"
            }
            SequentialAnimation on rotation {
                loops: 1
                NumberAnimation { from: -90; to: 6; duration: 700; easing.type: Easing.OutCubic }
                NumberAnimation { to: 0; duration: 300; easing.type: Easing.InOutSine }
            }
        }

        Column {
            anchors.left: logo.right
            anchors.leftMargin: 18 * root.u
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2 * root.u
            Text {
                text: "Velmora"
                color: "#ffffff"
                font.family: root.fontFamily
                font.bold: true
                font.letterSpacing: 2 * root.u
                font.pixelSize: Math.round(36 * root.u)
            }
            Text {
                text: "职业资格考试 · 复习备考学习系统"
                color: "#cde8ef"
                font.family: root.fontFamily
                font.pixelSize: Math.round(15 * root.u)
                font.letterSpacing: 1 * root.u
            }
        }

        // Today's date and time, refreshed every few seconds.
        Column {
            id: clock
            property date now: new Date()
            anchors.right: quitEntry.left
            anchors.rightMargin: 24 * root.u
            anchors.verticalCenter: parent.verticalCenter
            spacing: 0
            Timer {
                interval: 5000
                running: true
                repeat: true
                onTriggered: clock.now = new Date()
            }
            Text {
                anchors.right: parent.right
                text: Qt.formatTime(clock.now, "hh:mm")
                color: "#ffffff"
                font.family: root.fontFamily
                font.pixelSize: Math.round(26 * root.u)
            }
            Text {
                anchors.right: parent.right
                text: Qt.formatDate(clock.now, "yyyy年M月d日") + " "
                      + ["星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"][clock.now.getDay()]
                color: "#cde8ef"
                font.family: root.fontFamily
                font.pixelSize: Math.round(13 * root.u)
            }
        }

        MenuEntry {
            id: quitEntry
            objectName: "quit"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: 128 * root.u
            height: 50 * root.u
            accent: root.quitColor
            badge: "✕"
            label: "退出"
            hint: "Esc"
        }
    }

    // ------------------------------------------------------------ main cards

    Card {
        id: practiceCard
        x: root.frameX + 40 * root.u
        y: root.frameY + 118 * root.u
        width: 296 * root.u
        height: 424 * root.u
        title: "章节练习"
        subtitle: "新题 · 错题 · 复习"
        accent: root.practiceColor
        delay: 120

        Column {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "lx"
                focus: true
                kind: "row"; badge: "1"; label: "Almerin"; hint: "第一科 · 按章节练习"
                accent: root.practiceColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "lx2"
                kind: "row"; badge: "2"; label: "Brastow"; hint: "第二科 · 按章节练习"
                accent: root.practiceColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "lx3"
                kind: "row"; badge: "3"; label: "Corvale"; hint: "第三科 · 按章节练习"
                accent: root.practiceColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "lx4"
                kind: "row"; badge: "4"; label: "Dunmire"; hint: "第四科 · 按章节练习"
                accent: root.practiceColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "lx5"
                kind: "row"; badge: "5"; label: "Estwick"; hint: "第五科 · 按章节练习"
                accent: root.practiceColor
                width: parent.width; height: 66 * root.u
            }
        }
    }

    Card {
        id: examCard
        x: root.frameX + 352 * root.u
        y: root.frameY + 118 * root.u
        width: 296 * root.u
        height: 424 * root.u
        title: "模拟考试"
        subtitle: "随机组卷 · 限时作答"
        accent: root.examColor
        delay: 200

        Column {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "mnks"
                kind: "row"; badge: "1"; label: "Almerin"; hint: "第一科 · 模拟试卷"
                accent: root.examColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "mnks2"
                kind: "row"; badge: "2"; label: "Brastow"; hint: "第二科 · 模拟试卷"
                accent: root.examColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "mnks3"
                kind: "row"; badge: "3"; label: "Corvale"; hint: "第三科 · 模拟试卷"
                accent: root.examColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "mnks4"
                kind: "row"; badge: "4"; label: "Dunmire"; hint: "第四科 · 模拟试卷"
                accent: root.examColor
                width: parent.width; height: 66 * root.u
            }
            MenuEntry {
                objectName: "mnks5"
                kind: "row"; badge: "5"; label: "Estwick"; hint: "第五科 · 模拟试卷"
                accent: root.examColor
                width: parent.width; height: 66 * root.u
            }
        }
    }

    Card {
        id: keyPointCard
        x: root.frameX + 664 * root.u
        y: root.frameY + 118 * root.u
        width: 320 * root.u
        height: 150 * root.u
        title: "考点"
        subtitle: "按考点学习"
        accent: root.keyPointColor
        delay: 280

        Column {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "ksdg"
                badge: "纲"; label: "考点大纲"
                accent: root.keyPointColor
                width: parent.width; height: 40 * root.u
            }
            MenuEntry {
                objectName: "zsd"
                badge: "知"; label: "知识点学习"
                accent: root.keyPointColor
                width: parent.width; height: 40 * root.u
            }
        }
    }

    Card {
        id: recordCard
        x: root.frameX + 664 * root.u
        y: root.frameY + 284 * root.u
        width: 320 * root.u
        height: 258 * root.u
        title: "学习记录"
        subtitle: "计划 · 日志 · 成绩"
        accent: root.recordColor
        delay: 340

        Column {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "szjh"
                badge: "计"; label: "学习计划"
                accent: root.recordColor
                width: parent.width; height: 43 * root.u
            }
            MenuEntry {
                objectName: "rz"
                badge: "志"; label: "学习日志"
                accent: root.recordColor
                width: parent.width; height: 43 * root.u
            }
            MenuEntry {
                objectName: "tj"
                badge: "统"; label: "成绩统计"
                accent: root.recordColor
                width: parent.width; height: 43 * root.u
            }
            MenuEntry {
                objectName: "cj"
                badge: "卷"; label: "试卷记录"
                accent: root.recordColor
                width: parent.width; height: 43 * root.u
            }
        }
    }

    // ---------------------------------------------------------- bottom band

    Card {
        id: settingsCard
        x: root.frameX + 40 * root.u
        y: root.frameY + 558 * root.u
        width: 360 * root.u
        height: 134 * root.u
        title: "设置"
        accent: root.settingsColor
        delay: 420

        Row {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "szks"
                kind: "chip"; badge: "考"; label: "考试设置"
                accent: root.settingsColor
                width: (parent.width - 16 * root.u) / 3; height: parent.height
            }
            MenuEntry {
                objectName: "sztime"
                kind: "chip"; badge: "时"; label: "答题时间"
                accent: root.settingsColor
                width: (parent.width - 16 * root.u) / 3; height: parent.height
            }
            MenuEntry {
                objectName: "music"
                kind: "chip"; badge: "♪"; label: "背景音乐"
                accent: root.settingsColor
                width: (parent.width - 16 * root.u) / 3; height: parent.height
            }
        }
    }

    Card {
        id: otherCard
        x: root.frameX + 416 * root.u
        y: root.frameY + 558 * root.u
        width: 568 * root.u
        height: 134 * root.u
        title: "其他"
        accent: root.otherColor
        delay: 480

        Row {
            anchors.fill: parent
            spacing: 8 * root.u
            MenuEntry {
                objectName: "sj"
                kind: "chip"; badge: "升"; label: "题库升级"
                accent: root.otherColor
                width: (parent.width - 32 * root.u) / 5; height: parent.height
            }
            MenuEntry {
                objectName: "fg"
                kind: "chip"; badge: "H"; label: "Halvorne"
                accent: root.otherColor
                width: (parent.width - 32 * root.u) / 5; height: parent.height
            }
            MenuEntry {
                objectName: "lxfs"
                kind: "chip"; badge: "书"; label: "发行与书店"
                accent: root.otherColor
                width: (parent.width - 32 * root.u) / 5; height: parent.height
            }
            MenuEntry {
                objectName: "help"
                kind: "chip"; badge: "助"; label: "使用帮助"
                accent: root.otherColor
                width: (parent.width - 32 * root.u) / 5; height: parent.height
            }
            MenuEntry {
                objectName: "about"
                kind: "chip"; badge: "关"; label: "关于软件"
                accent: root.otherColor
                width: (parent.width - 32 * root.u) / 5; height: parent.height
            }
        }
    }

    // ---------------------------------------------------------------- footer

    Row {
        id: keyHints
        x: root.frameX + 42 * root.u
        y: root.frameY + 714 * root.u
        spacing: 8 * root.u
        opacity: 0
        NumberAnimation on opacity { to: 0.9; duration: 900; easing.type: Easing.InOutSine }

        Repeater {
            model: [ { k: "方向键", t: "选择" }, { k: "Tab", t: "下一项" }, { k: "Enter", t: "进入" }, { k: "Esc", t: "退出" } ]
            delegate: Row {
                id: hint
                required property var modelData
                spacing: 6 * root.u
                Rectangle {
                    width: keyText.implicitWidth + 14 * root.u
                    height: 24 * root.u
                    radius: 5 * root.u
                    color: Qt.rgba(1, 1, 1, 0.14)
                    border.color: Qt.rgba(1, 1, 1, 0.35)
                    border.width: 1
                    Text {
                        id: keyText
                        anchors.centerIn: parent
                        text: hint.modelData.k
                        color: "#ffffff"
                        font.family: root.fontFamily
                        font.pixelSize: Math.round(12 * root.u)
                    }
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: hint.modelData.t + "　"
                    color: "#d6edf2"
                    font.family: root.fontFamily
                    font.pixelSize: Math.round(13 * root.u)
                }
            }
        }
    }

    Text {
        anchors.right: parent.right
        anchors.rightMargin: root.frameX + 42 * root.u
        y: root.frameY + 716 * root.u
        text: "Halvorne 出版 · 与考试用书配套使用"
        color: "#a9d3dc"
        font.family: root.fontFamily
        font.pixelSize: Math.round(12 * root.u)
    }
}
