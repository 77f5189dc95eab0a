#pragma once

#include "app/Commands.h"
#include "base/Twips.h"
#include "document/Document.h"
#include "files/Session.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QApplication;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QSettings;
class GridView;
class LineEditFields;
class QtDesktop;
class FindWindow;

// The main window: menus, the table, the row editor frame and the layout
// rule. Every user event runs one command on the document, then the view is
// brought up to date once.
class Huvudbild : public QMainWindow {
    Q_OBJECT
public:
    enum Menu { Arkiv, Redigera, Info, Hjalp };

    explicit Huvudbild(QWidget *parent = nullptr);
    ~Huvudbild() override;

    // Swedish standard buttons, the dialog font and the icon; call once
    // after the QApplication exists.
    static void installApplicationSettings(QApplication &app);

    Document &document() { return *m_doc; }
    GridView *grid() const { return m_grid; }
    QLineEdit *txtRad1() const { return m_txtRad1; }
    QLineEdit *txtRad2() const { return m_txtRad2; }
    QLineEdit *txtAntal() const { return m_txtAntal; }
    QPushButton *cmdUppdatera() const { return m_cmdUppdatera; }
    QGroupBox *frmFrame() const { return m_frmFrame; }
    QLabel *label(int n) const; // 1..4, as Label1..Label4
    QLabel *image1() const { return m_image1; }
    // The menu entry with this index in its menu's item array, as the menu
    // shows it now (Arkiv's recent lists come and go).
    QAction *menuItem(Menu menu, int index) const;
    // The menu entry that gives the command.
    QAction *action(Command command) const;
    QMenu *menu(Menu menu) const;

    // Twips to pixels on the screen the window started on.
    const Twips &scale() const { return m_twips; }

    // Brings the table view up to date with the document.
    void refreshView();
    // What the program does once its window is shown (Session::start): a
    // list a crash left unsaved, or the tag file named on the command line.
    void start(const QStringList &arguments);
    // The program's settings: the recent lists, the window's place and the
    // folder of the last file dialog. The registry on Windows, a file in the
    // user's config folder elsewhere (QSettings' default format, which tests
    // point at a folder of their own).
    static inline const QString kSettingsOrganisation = QStringLiteral("Ovelda");
    static inline const QString kSettingsApplication = QStringLiteral("Taggverk");
    static inline const QString kPlaceKey = QStringLiteral("window/place");
    static inline const QString kMaximizedKey = QStringLiteral("window/maximized");
    const RecoveryCopy &recoveryCopy() const { return m_session->recoveryCopy(); }
    // The open Sök (false) or Ersätt (true) window, or nullptr.
    FindWindow *findWindow(bool replace) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // A .brk file dropped on the window (or on a field) opens as Öppna
    // would; anything else is refused.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int px(double twips) const { return m_twips.px(twips); }
    double twips(int px) const { return m_twips.twips(px); }
    void buildControls();
    void buildMenus();
    void runLayout();
    void updateRecentMenu();
    void restoreWindowPlace();
    void saveWindowPlace();
    int largestRowNumber() const;
    double numberNeeds() const;
    template <typename F> void command(F &&f);
    static QString droppedTagFile(const QMimeData *data);
    void showFindWindow(bool replace);

    Twips m_twips;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QtDesktop> m_desktop;
    std::unique_ptr<LineEditFields> m_fields;
    std::unique_ptr<Document> m_doc;
    GridView *m_grid = nullptr;
    QGroupBox *m_frmFrame = nullptr;
    QLineEdit *m_txtRad1 = nullptr, *m_txtRad2 = nullptr, *m_txtAntal = nullptr;
    QPushButton *m_cmdUppdatera = nullptr;
    QLabel *m_labels[4] = {};
    QLabel *m_image1 = nullptr;
    QMenu *m_menus[4] = {};
    QList<QAction *> m_items[4];
    QHash<Command, QAction *> m_actions;
    // Arkiv's recent lists as the menu shows them, and the separator after.
    QStringList m_shownRecent;
    QAction *m_recentSeparator = nullptr;
    bool m_inLayout = false;
    QPointer<FindWindow> m_findWindows[2];
    // After the document: it goes first, and the recovery copy with it.
    std::unique_ptr<Session> m_session;
};
