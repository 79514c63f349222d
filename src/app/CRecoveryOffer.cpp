#include "app/CRecoveryOffer.h"

#include "app/CMainFrame.h"
#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"
#include "document/CChildFrame.h"
#include "document/CQuillopDoc.h"
#include "kinds/CDocumentDiff.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "params/ui/CUiServices.h"

#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>

QString CRecoveryOffer::changesSinceSaved(const CRecoveryStore::Entry& entry)
{
    auto copy = createDocumentHolder();
    if (!copy->load(CRegularFile::nameOf(entry.copy)))
        return QStringLiteral("The copy cannot be read.");
    auto saved = createDocumentHolder();
    if (entry.original.isEmpty() || !saved->load(CRegularFile::nameOf(entry.original)))
        saved->clear();
    QMap<QString, QMap<QString, int>> counts;  // group -> kind -> items
    for (const auto& d : CDocumentDiff::compare(*saved, *copy)) {
        const char* kind = d.kind == CDocumentDiff::Difference::Kind::Added     ? "added"
                           : d.kind == CDocumentDiff::Difference::Kind::Removed ? "removed"
                           : d.kind == CDocumentDiff::Difference::Kind::Moved   ? "moved"
                                                                                : "changed";
        ++counts[d.group][QLatin1String(kind)];
    }
    if (counts.isEmpty())
        return QStringLiteral("No change since the saved file.");
    QStringList lines;
    for (auto group = counts.begin(); group != counts.end(); ++group) {
        QStringList parts;
        for (auto kind = group->begin(); kind != group->end(); ++kind)
            parts << QStringLiteral("%1 %2").arg(kind.value()).arg(kind.key());
        lines << QStringLiteral("%1: %2").arg(group.key(), parts.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}

QString CRecoveryOffer::question(const CRecoveryStore::Entry& entry)
{
    const QString name = entry.original.isEmpty() ? entry.title : entry.original;
    return QStringLiteral("Quillop did not close properly. A recovery copy of %1 was written at %2.\n\n"
                          "Changes since the saved file:\n%3")
        .arg(name, QLocale().toString(entry.written, QLocale::ShortFormat), changesSinceSaved(entry));
}

void CRecoveryOffer::offer(CMainFrame& frame)
{
    for (const CRecoveryStore::Entry& entry : CRecoveryStore::abandoned()) {
        QMessageBox box(QMessageBox::Warning, CUiServices::messageTitle(), question(entry), QMessageBox::NoButton, &frame);
        QPushButton* recover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
        QPushButton* saved = nullptr;
        if (!entry.original.isEmpty() && QFileInfo::exists(entry.original))
            saved = box.addButton(QStringLiteral("&Open the Saved File"), QMessageBox::RejectRole);
        QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(recover);
        box.exec();
        const QAbstractButton* chosen = box.clickedButton();
        carryOut(frame, entry,
                 chosen == recover ? Choice::Recover
                 : chosen == saved && saved ? Choice::OpenSaved
                 : chosen == discard ? Choice::Discard
                                     : Choice::Later);
    }
}

void CRecoveryOffer::carryOut(CMainFrame& frame, const CRecoveryStore::Entry& entry, Choice choice)
{
    switch (choice) {
    case Choice::Recover:
        if (frame.recoverDocument(entry.copy, entry.original, entry.title))
            CRecoveryStore::discard(entry);
        return;
    case Choice::OpenSaved:
        if (frame.openDocument(entry.original))
            CRecoveryStore::discard(entry);
        return;
    case Choice::Discard: CRecoveryStore::discard(entry); return;
    case Choice::Later: return;  // asked again at the next start
    }
}
