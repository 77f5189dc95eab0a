#include "edit/widgets/FindWindow.h"

#include "base/Limits.h"
#include "base/WindowBeside.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

FindWindow::FindWindow(Kind kind, const FindSettings &shown, QWidget *mainWindow) : QDialog(mainWindow), m_kind(kind)
{
    const bool replace = kind == Kind::Replace;
    setWindowTitle(replace ? QStringLiteral("Ersätt") : QStringLiteral("Sök"));
    setModal(false);
    // Closed, it goes; the next one opens with the last search.
    setAttribute(Qt::WA_DeleteOnClose);

    auto field = [this](const QString &text, const char *caption, const char *name, int row, QGridLayout *grid) {
        auto *edit = new QLineEdit(text, this);
        edit->setMaxLength(kMaxTextLength);
        edit->setAccessibleName(QString::fromUtf8(name));
        edit->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    auto *fields = new QGridLayout;
    m_search = field(shown.text, "Sök &efter:", "Sök efter", 0, fields);
    if (replace)
        m_replace = field(shown.replacement, "Ersätt &med:", "Ersätt med", 1, fields);
    m_matchCase = new QCheckBox(QStringLiteral("Matcha &versaler/gemener"), this);
    m_matchCase->setChecked(shown.matchCase);
    fields->addWidget(m_matchCase, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);

    auto *buttons = new QVBoxLayout;
    auto button = [&](const char *caption) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        buttons->addWidget(b);
        return b;
    };
    m_findNext = button("Sök &nästa");
    m_findNext->setDefault(true);
    connect(m_findNext, &QPushButton::clicked, this, &FindWindow::findNextClicked);
    if (replace) {
        m_replaceOne = button("E&rsätt");
        m_replaceAll = button("Ersätt &alla");
        connect(m_replaceOne, &QPushButton::clicked, this, &FindWindow::replaceClicked);
        connect(m_replaceAll, &QPushButton::clicked, this, &FindWindow::replaceAllClicked);
    }
    m_close = button("S&täng");
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addStretch(1);

    auto *all = new QHBoxLayout(this);
    all->addLayout(fields, 1);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    // Nothing to look for while the search text is empty.
    auto enable = [this] {
        const bool any = !m_search->text().isEmpty();
        for (QPushButton *b : {m_findNext, m_replaceOne, m_replaceAll})
            if (b)
                b->setEnabled(any);
    };
    connect(m_search, &QLineEdit::textChanged, this, enable);
    enable();
    if (mainWindow)
        placeBeside(mainWindow);
}

FindSettings FindWindow::settings() const
{
    FindSettings s;
    s.text = m_search->text();
    if (m_replace)
        s.replacement = m_replace->text();
    s.matchCase = m_matchCase->isChecked();
    s.textsOnly = m_kind == Kind::Replace;
    return s;
}

void FindWindow::showAndFocus()
{
    show();
    raise();
    activateWindow();
    m_search->setFocus(Qt::ActiveWindowFocusReason);
    m_search->selectAll();
}

void FindWindow::placeBeside(QWidget *mainWindow)
{
    // Beside the main window, so that the row found stays in sight.
    adjustSize();
    const QScreen *screen = mainWindow->screen();
    if (!screen)
        return;
    move(windowBeside(mainWindow->frameGeometry(), size(), screen->availableGeometry(), width(), 8).topLeft());
}
