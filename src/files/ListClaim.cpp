#include "files/ListClaim.h"

#include "document/Document.h"

namespace {
// "Listan "lista.brk" är öppen hos anna på verkstad sedan 2026-12-07 14:02."
QString heldBy(const QString &title, const LockOwner &owner)
{
    const QString unknown = QStringLiteral("okänd");
    const auto known = [&](const QString &text) { return text.isEmpty() ? unknown : text; };
    return QStringLiteral("Listan \"%1\" är öppen hos %2 på %3 sedan %4.")
        .arg(title, known(owner.user), known(owner.host),
             owner.since.isValid() ? owner.since.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : unknown);
}

// The list's lock into lock, or who holds it.
Claim take(Document &doc, const QString &path, ListLock &lock, LockOwner &holder)
{
    if (ListLock::lockPathFor(path) == doc.lock.path())
        return Claim::Kept;
    switch (lock.take(path, &holder)) {
    case ListLock::Result::Taken:
        return Claim::Locked;
    case ListLock::Result::Unwritable:
        return Claim::Unlocked;
    case ListLock::Result::HeldBy:
        break;
    }
    return Claim::Cancelled;
}
} // namespace

Claim claimForOpening(Document &doc, const QString &path, const QString &title, ListLock &lock)
{
    LockOwner holder;
    const Claim claim = take(doc, path, lock, holder);
    if (claim != Claim::Cancelled)
        return claim;
    switch (doc.desktop.messageBox(heldBy(title, holder) + QStringLiteral("\nVill du öppna den skrivskyddad?"),
                                   QStringLiteral("Listan används"), Desktop::Icon::Question,
                                   Desktop::Buttons::YesNoCancel, Desktop::Answer::Yes)) {
    case Desktop::Answer::Yes:
        return Claim::ReadOnly;
    case Desktop::Answer::No:
        return Claim::Unlocked;
    default:
        return Claim::Cancelled;
    }
}

Claim claimForSaving(Document &doc, const QString &path, const QString &title, ListLock &lock)
{
    LockOwner holder;
    const Claim claim = take(doc, path, lock, holder);
    if (claim == Claim::Cancelled)
        doc.desktop.messageBox(heldBy(title, holder) + QStringLiteral("\nDen kan inte sparas nu."),
                               QStringLiteral("Spara"), Desktop::Icon::Warning);
    return claim;
}
