#include "app/widgets/Huvudbild.h"

#include "app/Commands.h"
#include "app/Layout.h"
#include "app/WindowPlace.h"
#include "app/widgets/LineEditFields.h"
#include "app/widgets/QtDesktop.h"
#include "app/widgets/SwedishTranslator.h"
#include "document/TableRoutines.h"
#include "edit/FindReplace.h"
#include "edit/RowEditor.h"
#include "edit/widgets/FindWindow.h"
#include "files/FileCommands.h"
#include "table/RowNumbers.h"
#include "table/widgets/GridView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace {
const QColor kBackground(192, 192, 192);
const QColor kTitleColour(0, 57, 109);
constexpr double kFrameHeight = 972;

// A menu entry and its command; no caption is a separator.
struct MenuEntry {
    const char *caption;
    Command command;
};
// The recent lists go between the separator and Avsluta.
const MenuEntry kArkiv[] = {{"&Nytt", Command::New},
                            {"&Öppna...", Command::Open},
                            {"&Spara", Command::Save},
                            {"Spara so&m...", Command::SaveAs},
                            {"Skriv &ut", Command::Print},
                            {"&Förhandsgranska...", Command::Preview},
                            {"Spara som &PDF...", Command::SavePdf},
                            {nullptr, Command::Exit},
                            {"&Avsluta", Command::Exit}};
constexpr Command kRecent[] = {Command::OpenRecent1, Command::OpenRecent2, Command::OpenRecent3, Command::OpenRecent4};
const MenuEntry kRedigera[] = {
    {"&Infoga rad", Command::InsertRow}, {"&Klipp ut", Command::Cut},       {"K&opiera", Command::Copy},
    {"K&listra in", Command::Paste},     {"&Ta bort", Command::Delete},     {nullptr, Command::Find},
    {"&Sök...", Command::Find},          {"Sök &nästa", Command::FindNext}, {"&Ersätt...", Command::Replace}};
// The keys of Sök, Sök nästa and Ersätt, as in every editor.
const struct {
    Command command;
    QKeyCombination key;
} kFindKeys[] = {{Command::Find, Qt::CTRL | Qt::Key_F},
                 {Command::FindNext, QKeyCombination(Qt::Key_F3)},
                 {Command::Replace, Qt::CTRL | Qt::Key_H}};
const MenuEntry kInfo[] = {{"&Teckenräknare", Command::CharacterCount}};
const MenuEntry kHjalp[] = {{"&Översikt...", Command::Help}, {"&Om...", Command::About}};

// "MS Sans Serif" 8.25 pt. On Windows that name is a bitmap font, which does
// not scale (the 24 pt title came out small) and dropped the access-key line
// under a leading "I"; Windows itself maps the name to its TrueType
// successor, so the program asks for that one there. Where the font is
// missing its nearest relatives stand in, Windows' own first (the Linux
// ones' "I" lost its stem there), and then any sans-serif font rather than
// the serif one a bare Wine falls back on.
#ifdef Q_OS_WIN
const char kDialogFamily[] = "Microsoft Sans Serif";
const char *const kDialogSubstitutes[] = {"Tahoma", "Arial", "Liberation Sans", "DejaVu Sans"};
#else
const char kDialogFamily[] = "MS Sans Serif";
const char *const kDialogSubstitutes[] = {"Liberation Sans", "Arial", "DejaVu Sans"};
#endif

QFont dialogFont()
{
    QFont f(QString::fromLatin1(kDialogFamily));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8.25);
    return f;
}

// The title: the dialog font at 24 pt, bold. Under Wine, Tahoma standing in
// for the missing dialog font came out regular though asked for bold, so on
// Windows the title takes the first of these that is there (Windows draws the
// dialog font's bold itself).
QFont titleFont()
{
    QFont f = dialogFont();
#ifdef Q_OS_WIN
    for (const char *family : {kDialogFamily, "Arial", "Liberation Sans", "DejaVu Sans"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            f.setFamily(QString::fromLatin1(family));
            break;
        }
    }
#endif
    f.setPointSize(24);
    f.setBold(true);
    return f;
}
} // namespace

namespace {
bool isRedoKey(const QKeyEvent *key)
{
    const QKeyCombination k = key->keyCombination();
    return key->matches(QKeySequence::Redo) || k == QKeyCombination(Qt::CTRL | Qt::Key_Y) ||
           k == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

Twips screenScale()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? Twips::forDotsPerInch(s->logicalDotsPerInchY()) : Twips();
}

// Every size the icon is drawn in: the taskbar or a task switcher picks a
// sharp one instead of scaling up the small one.
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/taggverk-%1.png").arg(size), QSize(size, size));
    return icon;
}
} // namespace

void Huvudbild::installApplicationSettings(QApplication &app)
{
    static SwedishTranslator translator;
    QApplication::installTranslator(&translator);
    for (const char *family : kDialogSubstitutes)
        QFont::insertSubstitution(QString::fromLatin1(kDialogFamily), QString::fromLatin1(family));
    QApplication::setFont(dialogFont());
    app.setWindowIcon(programIcon());
    app.setApplicationName(Document::kTitle);
    app.setApplicationVersion(QStringLiteral(TAGGVERK_VERSION));
}

Huvudbild::Huvudbild(QWidget *parent) : QMainWindow(parent), m_twips(screenScale())
{
    setWindowTitle(Document::kTitle);
    setWindowIcon(programIcon());
    buildControls();
    m_settings = std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope, kSettingsOrganisation,
                                             kSettingsApplication);
    m_desktop = std::make_unique<QtDesktop>(this, m_twips);
    m_desktop->setSettings(m_settings.get());
    m_fields = std::make_unique<LineEditFields>(m_txtRad1, m_txtRad2, m_txtAntal);
    m_doc = std::make_unique<Document>(*m_fields, *m_desktop);
    m_doc->recent.setStore(m_settings.get());

    // The table view needs the document's grid, so it comes last.
    m_grid = new GridView(m_doc->grid, m_twips, centralWidget());
    m_grid->setGeometry(px(120), px(840), px(6375), px(3015));
    m_grid->setFont(dialogFont());
    m_grid->setAccessibleName(QStringLiteral("Brickor"));
    setTabOrder(m_cmdUppdatera, m_grid); // the table is the stop after the button
    connect(m_grid, &GridView::cellPressed, this,
            [this](int row, int col, bool extend) { command([&] { tablePress(*m_doc, row, col, extend); }); });
    connect(m_grid, &GridView::cellDragged, this,
            [this](int row, int col) { command([&] { tableDrag(*m_doc, row, col); }); });
    connect(m_grid, &GridView::released, this, [this] { command([this] { grdGrid_Click(*m_doc); }); });
    connect(m_grid, &GridView::gridKey, this,
            [this](TableKey key, bool shift) { command([&] { tableKeyPress(*m_doc, key, shift); }); });
    buildMenus();
    m_session = std::make_unique<Session>(*m_doc);
    setAcceptDrops(true);
    for (QLineEdit *field : {m_txtRad1, m_txtRad2, m_txtAntal})
        field->installEventFilter(this);
    // A command's message shows over the table as the command left it.
    m_desktop->setBeforeModal([this] { refreshView(); });
    m_desktop->setShowFind([this](bool replace) { showFindWindow(replace); });

    // Start-up: an empty untitled list; no row is drawn lower than the header.
    resetDocument(*m_doc);
    m_doc->grid.setMinimumRowHeight(m_doc->grid.rowHeight(0));
    refreshView();

    resize(px(6615), px(5040) + menuBar()->sizeHint().height());
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    restoreWindowPlace();
}

void Huvudbild::restoreWindowPlace()
{
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    if (const std::optional<QRect> r = windowplace::restored(m_settings->value(kPlaceKey).toRect(), screens)) {
        resize(r->size());
        move(r->topLeft());
    }
    if (m_settings->value(kMaximizedKey).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void Huvudbild::saveWindowPlace()
{
    // A maximised or minimised window keeps the place it had before.
    QRect place(pos(), size());
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        place = normalGeometry().translated(pos() - geometry().topLeft());
    if (place.isValid())
        m_settings->setValue(kPlaceKey, place);
    m_settings->setValue(kMaximizedKey, bool(windowState() & Qt::WindowMaximized));
}

Huvudbild::~Huvudbild()
{
    // However the program ends normally, the copy goes with the list.
    m_session.reset();
    // The view reads the document's grid; it must go before the document.
    delete m_grid;
    m_grid = nullptr;
}

void Huvudbild::buildControls()
{
    auto *client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, kBackground);
    // Greyed-out captions must stay readable on the grey background while
    // the About window disables the main window.
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    client->setPalette(pal);
    setCentralWidget(client);

    auto place = [this](QWidget *w, double l, double t, double wd, double h) {
        w->setGeometry(px(l), px(t), px(wd), px(h));
    };

    m_image1 = new QLabel(client);
    m_image1->setPixmap(QPixmap(QStringLiteral(":/logo.bmp")));
    m_image1->setScaledContents(true);
    m_image1->setAccessibleName(QStringLiteral("Ovelda"));
    place(m_image1, 120, 120, 2424, 468);

    m_labels[3] = new QLabel(QStringLiteral("Taggverk"), client);
    m_labels[3]->setFont(titleFont());
    QPalette tp = m_labels[3]->palette();
    tp.setColor(QPalette::WindowText, kTitleColour);
    m_labels[3]->setPalette(tp);
    place(m_labels[3], 2760, 120, 3855, 615);

    m_frmFrame = new QGroupBox(client);
    m_frmFrame->setTitle(QString());
    place(m_frmFrame, 120, 3960, 6372, kFrameHeight);

    auto label = [&](const char *text, double l, double t, double w, double h) {
        auto *lab = new QLabel(QString::fromUtf8(text), m_frmFrame);
        lab->setAlignment(Qt::AlignRight | Qt::AlignTop);
        place(lab, l, t, w, h);
        return lab;
    };
    auto field = [&](double l, double t, double w, double h) {
        auto *e = new QLineEdit(m_frmFrame);
        e->setMaxLength(kMaxTextLength);
        place(e, l, t, w, h);
        return e;
    };
    // Created in tab order: the fields, then the button.
    m_txtRad1 = field(960, 240, 2292, 288);
    m_txtRad2 = field(960, 600, 2292, 288);
    m_txtAntal = field(4080, 600, 492, 288);
    m_cmdUppdatera = new QPushButton(QStringLiteral("Uppdatera"), m_frmFrame);
    m_cmdUppdatera->setAutoDefault(false);
    m_cmdUppdatera->setDefault(false);
    place(m_cmdUppdatera, 5040, 480, 972, 372);
    m_labels[0] = label("Textrad 1", 120, 285, 735, 255);
    m_labels[1] = label("Textrad 2", 120, 645, 735, 255);
    m_labels[2] = label("Antal", 3480, 645, 495, 255);
    for (QLabel *l : {m_labels[0], m_labels[1], m_labels[2]})
        l->setFocusPolicy(Qt::NoFocus);
    // A screen reader names each field by its caption.
    m_labels[0]->setBuddy(m_txtRad1);
    m_labels[1]->setBuddy(m_txtRad2);
    m_labels[2]->setBuddy(m_txtAntal);
    setTabOrder(m_txtRad1, m_txtRad2);
    setTabOrder(m_txtRad2, m_txtAntal);
    setTabOrder(m_txtAntal, m_cmdUppdatera);

    connect(m_cmdUppdatera, &QPushButton::clicked, this, [this] { command([this] { cmdUppdatera_Click(*m_doc); }); });
}

void Huvudbild::buildMenus()
{
    struct MenuDef {
        Menu id;
        const char *title;
        const MenuEntry *entries;
        int count;
    };
    const MenuDef defs[] = {
        {Arkiv, "&Arkiv", kArkiv, int(std::size(kArkiv))},
        {Redigera, "&Redigera", kRedigera, int(std::size(kRedigera))},
        {Info, "&Info", kInfo, int(std::size(kInfo))},
        {Hjalp, "&Hjälp", kHjalp, int(std::size(kHjalp))},
    };
    for (const MenuDef &d : defs) {
        QMenu *m = menuBar()->addMenu(QString::fromUtf8(d.title));
        m_menus[d.id] = m;
        if (d.id == Redigera) {
            // Ångra and Gör om head the menu, with the keys every editor
            // gives them.
            const struct {
                const char *caption;
                Command command;
                QList<QKeySequence> keys;
            } undoRedo[] = {{"&Ångra", Command::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
                            {"&Gör om",
                             Command::Redo,
                             {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}}};
            for (const auto &u : undoRedo) {
                QAction *a = m->addAction(QString::fromUtf8(u.caption));
                m_items[d.id].append(a);
                a->setShortcuts(u.keys);
                m_actions.insert(u.command, a);
                const Command c = u.command;
                connect(a, &QAction::triggered, this, [this, c] { command([&] { runCommand(*m_doc, c); }); });
            }
            m_items[d.id].append(m->addSeparator());
        }
        for (int i = 0; i < d.count; ++i) {
            const MenuEntry &e = d.entries[i];
            if (!e.caption) {
                m_items[d.id].append(m->addSeparator());
                continue;
            }
            QAction *a = m->addAction(QString::fromUtf8(e.caption));
            m_items[d.id].append(a);
            m_actions.insert(e.command, a);
            const Command c = e.command;
            connect(a, &QAction::triggered, this, [this, c] { command([&] { runCommand(*m_doc, c); }); });
        }
    }
    for (const auto &k : kFindKeys)
        m_actions.value(k.command)->setShortcut(QKeySequence(k.key));
    // The recent lists: made once, put into Arkiv as there are lists to show.
    m_menus[Arkiv]->setToolTipsVisible(true); // the full path of each
    for (const Command c : kRecent) {
        auto *a = new QAction(this);
        m_actions.insert(c, a);
        connect(a, &QAction::triggered, this, [this, c] { command([&] { runCommand(*m_doc, c); }); });
    }
    m_recentSeparator = new QAction(this);
    m_recentSeparator->setSeparator(true);
}

void Huvudbild::updateRecentMenu()
{
    const QStringList &paths = m_doc->recent.paths();
    if (paths == m_shownRecent)
        return;
    m_shownRecent = paths;
    QMenu *m = m_menus[Arkiv];
    QAction *exit = action(Command::Exit);
    for (const Command c : kRecent)
        m->removeAction(action(c));
    m->removeAction(m_recentSeparator);
    for (int i = 0; i < paths.size() && i < int(std::size(kRecent)); ++i) {
        QAction *a = action(kRecent[i]);
        // "&" in a file name is shown, not taken as an access key.
        QString name = QFileInfo(paths[i]).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        a->setText(QStringLiteral("&%1 %2").arg(QString::number(i + 1), name));
        a->setToolTip(QDir::toNativeSeparators(paths[i]));
        m->insertAction(exit, a);
    }
    if (!paths.isEmpty())
        m->insertAction(exit, m_recentSeparator);
    m_items[Arkiv] = m->actions();
}

QLabel *Huvudbild::label(int n) const
{
    return n >= 1 && n <= 4 ? m_labels[n - 1] : nullptr;
}

QAction *Huvudbild::menuItem(Menu menu, int index) const
{
    return index >= 0 && index < m_items[menu].size() ? m_items[menu][index] : nullptr;
}

QAction *Huvudbild::action(Command command) const
{
    return m_actions.value(command);
}

QMenu *Huvudbild::menu(Menu menu) const
{
    return m_menus[menu];
}

template <typename F> void Huvudbild::command(F &&f)
{
    runGuarded(*m_doc, f);
    refreshView();
    m_session->afterCommand();
}

void Huvudbild::refreshView()
{
    if (!m_grid)
        return;
    if (QAction *undo = action(Command::Undo))
        undo->setEnabled(m_doc->history.canUndo());
    if (QAction *redo = action(Command::Redo))
        redo->setEnabled(m_doc->history.canRedo());
    updateRecentMenu();
    // A list that grows or shrinks past a power of ten changes what the
    // number column needs: the layout step gives the columns their widths.
    const TagGrid &g = m_doc->grid;
    if (!m_inLayout && g.cols() == 4 && g.colWidth(0) != layout::numberColumnWidth(largestRowNumber(), numberNeeds()))
        runLayout();
    m_grid->refresh();
}

int Huvudbild::largestRowNumber() const
{
    // The entry row carries the largest number.
    return std::max(1, m_doc->grid.rows() - 1);
}

double Huvudbild::numberNeeds() const
{
    return m_grid ? m_grid->numberColumnNeeds(rowNumberText(largestRowNumber())) : 0;
}

void Huvudbild::runLayout()
{
    if (!m_grid || m_inLayout)
        return;
    m_inLayout = true;
    layout::Input in;
    const QRect outer = frameGeometry();
    in.outerWidth = twips(outer.width());
    in.outerHeight = twips(outer.height());
    // The client area from the window's own new size: the central widget
    // is resized by the window's layout only after this event.
    in.scaleWidth = twips(width());
    in.scaleHeight = twips(height() - menuBar()->sizeHint().height());
    in.frameHeight = kFrameHeight;
    in.largestRowNumber = largestRowNumber();
    in.numberNeeds = numberNeeds();
    const layout::Result r = layout::compute(in, [this](float w) { return float(twips(px(w))); });

    if (r.newOuterHeight || r.newOuterWidth) {
        const QSize decoration = outer.size() - size();
        m_inLayout = false; // the resize lays the window out again, now or when it arrives
        resize(r.newOuterWidth ? m_twips.pxAtLeast(*r.newOuterWidth) - decoration.width() : width(),
               r.newOuterHeight ? m_twips.pxAtLeast(*r.newOuterHeight) - decoration.height() : height());
        return;
    }
    if (r.frameTop)
        m_frmFrame->move(px(*r.frameLeft), px(*r.frameTop));
    if (r.tableTop)
        m_grid->move(px(*r.tableLeft), px(*r.tableTop));
    if (r.tableHeight)
        m_grid->resize(m_grid->width(), px(*r.tableHeight));
    if (r.tableWidth)
        m_grid->resize(px(*r.tableWidth), m_grid->height());
    TagGrid &g = m_doc->grid;
    for (int c = 0; c < 4 && c < g.cols(); ++c)
        if (r.colWidth[static_cast<size_t>(c)])
            g.setColWidth(c, *r.colWidth[static_cast<size_t>(c)]);
    if (r.complete) {
        m_grid->updateVisibleRows(); // the rows that fit at the new height
        VisaAktuellRad(*m_doc);
    }
    m_grid->refresh();
    m_inLayout = false;
}

void Huvudbild::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    runLayout();
}

void Huvudbild::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The minimum outer size, less what the window manager draws around us.
    const QSize decoration = frameGeometry().size() - size();
    setMinimumSize(m_twips.pxAtLeast(layout::kMinOuterWidth) - decoration.width(),
                   m_twips.pxAtLeast(layout::kMinOuterHeight) - decoration.height());
    runLayout();
    m_txtRad1->setFocus(Qt::ActiveWindowFocusReason);
}

void Huvudbild::start(const QStringList &arguments)
{
    command([&] { m_session->start(arguments); });
}

void Huvudbild::showFindWindow(bool replace)
{
    QPointer<FindWindow> &window = m_findWindows[replace ? 1 : 0];
    if (!window) {
        const auto kind = replace ? FindWindow::Kind::Replace : FindWindow::Kind::Find;
        window = new FindWindow(kind, m_doc->find, this);
        FindWindow *w = window;
        const QString title = replace ? kReplaceTitle : kFindTitle;
        connect(w, &FindWindow::findNextClicked, this,
                [this, w, title] { command([&] { findNext(*m_doc, w->settings(), title); }); });
        connect(w, &FindWindow::replaceClicked, this,
                [this, w] { command([&] { replaceOne(*m_doc, w->settings()); }); });
        connect(w, &FindWindow::replaceAllClicked, this,
                [this, w] { command([&] { replaceAll(*m_doc, w->settings()); }); });
    }
    window->showAndFocus();
}

FindWindow *Huvudbild::findWindow(bool replace) const
{
    return m_findWindows[replace ? 1 : 0];
}

QString Huvudbild::droppedTagFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && isTagFileName(url.toLocalFile()))
            return url.toLocalFile();
    return QString();
}

void Huvudbild::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedTagFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void Huvudbild::dropEvent(QDropEvent *event)
{
    const QString path = droppedTagFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    command([&] { openFromOutside(*m_doc, path); });
}

bool Huvudbild::eventFilter(QObject *watched, QEvent *event)
{
    // The fields take dropped text themselves; a tag file goes to the window.
    // Ctrl+Z in a field undoes its own typing first; when it has none left,
    // the key goes on to Ångra (Ctrl+Y likewise to Gör om).
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (!field)
            break;
        if ((key->matches(QKeySequence::Undo) && !field->isUndoAvailable()) ||
            (isRedoKey(key) && !field->isRedoAvailable())) {
            event->ignore();
            return true;
        }
        // Typing to redo: the key is the field's, whichever of the keys it
        // is (a line edit knows only its platform's own).
        if (isRedoKey(key)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && isRedoKey(static_cast<QKeyEvent *>(event)) && field->isRedoAvailable()) {
            field->redo();
            return true;
        }
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (droppedTagFile(drop->mimeData()).isEmpty())
            break;
        if (event->type() == QEvent::Drop)
            dropEvent(drop);
        else
            drop->acceptProposedAction();
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Huvudbild::closeEvent(QCloseEvent *event)
{
    bool refuse = false;
    command([&] { refuse = Form_QueryUnload(*m_doc); });
    if (refuse) {
        event->ignore();
        return;
    }
    saveWindowPlace();
    event->accept();
    for (FindWindow *w : m_findWindows)
        if (w)
            w->close();
}
