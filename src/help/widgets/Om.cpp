#include "help/widgets/Om.h"

#include "document/Document.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

Om::Om(QWidget *mainWindow, const Twips &scale) : QDialog(nullptr), m_main(mainWindow)
{
    const auto twipsRect = [&scale](int left, int top, int width, int height) {
        return QRect(scale.px(left), scale.px(top), scale.px(width), scale.px(height));
    };
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kTitle);
    const QPixmap ikon(QStringLiteral(":/icons/taggverk-32.png"));
    setWindowIcon(ikon);
    setFixedSize(scale.px(4545), scale.px(1095));

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(ikon);
    m_image1->setScaledContents(true);
    m_image1->setGeometry(twipsRect(120, 240, 492, 492));

    m_label1 = new QLabel(Document::kTitle + QLatin1Char(' ') + QStringLiteral(TAGGVERK_VERSION), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(twipsRect(840, 240, 2412, 252));

    m_label2 = new QLabel(QStringLiteral("© Taggverks utvecklare"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(twipsRect(840, 600, 2412, 252));

    for (QLabel *l : {m_label1, m_label2})
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_cmdOmOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOmOK->setObjectName(QStringLiteral("cmdOmOK"));
    m_cmdOmOK->setGeometry(twipsRect(3360, 360, 972, 372));
    m_cmdOmOK->setDefault(true);
    // OK unloads the window.
    connect(m_cmdOmOK, &QPushButton::clicked, this, &QDialog::accept);
    m_cmdOmOK->setFocus();

    if (m_main && m_main->windowHandle()) {
        create();
        windowHandle()->setTransientParent(m_main->windowHandle());
    }
    Form_Load();
}

Om::~Om()
{
    Form_Unload();
}

void Om::Form_Load()
{
    m_loaded = true;
    if (m_main) {
        m_main->setEnabled(false);
        m_main->installEventFilter(this);
    }
}

void Om::Form_Unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    if (m_main) {
        m_main->removeEventFilter(this);
        m_main->setEnabled(true);
    }
}

bool Om::eventFilter(QObject *watched, QEvent *event)
{
    // The window manager still offers the disabled main window's close box.
    // Closing it now would put the save prompt on a disabled window, where it
    // could not be answered; the About window is brought forward instead.
    if (watched == m_main && event->type() == QEvent::Close) {
        event->ignore();
        raise();
        activateWindow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Om::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_loaded)
        Form_Load();
    // Centred on the screen the main window is on. Kept above the disabled
    // main window, so that a click on it cannot bury the only window that
    // takes input.
    QScreen *screen = m_main ? m_main->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void Om::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Hidden by the program (OK, close box, Escape, the system's close):
    // that is the unload. A spontaneous hide is the window system's
    // (another desktop, say) and leaves it loaded.
    if (!event->spontaneous())
        Form_Unload();
}
