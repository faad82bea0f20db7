#include "shell/watch_list_panel.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <array>
#include <map>
#include <vector>

namespace qv {

namespace {

namespace protocol = facade_protocol;

constexpr int kIdRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kListRole = Qt::UserRole + 2;

struct Entry {
    int32_t Id = 0;
    int32_t ParentId = 0;
    QString Name;
    bool Folder = false;
};

std::vector<Entry> ReadLists(int32_t p_lOwnerId, int32_t p_lKind) {
    namespace call = protocol::get_watch_lists;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lKind)};
    const std::shared_ptr<Recordset> rows =
        ExpectRecordset(CallMethod(*PlatformContext::Current().Components().CreateObject(
                                       protocol::prog_id::kWatchListReader),
                                   call::kMethod, args),
                        "the owner's watch lists");
    std::vector<Entry> entries;
    if (rows->RecordCount() == 0) {
        return entries;
    }
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        entries.push_back({rows->Value("id").ToLong(), rows->Value("parentid").ToLong(),
                           QString::fromStdString(rows->Value("Name").ToString()),
                           rows->Value("IsFolder").ToBool()});
    }
    return entries;
}

// The keys of the control's Delete event, which joins them for a query ("AAA','BBB").
std::vector<std::string> KeysOf(const std::string& p_sItems) {
    std::vector<std::string> keys;
    for (const std::string& part : SplitText(p_sItems, ',')) {
        std::string_view key = TrimWhitespace(part);
        while (!key.empty() && key.front() == '\'') {
            key.remove_prefix(1);
        }
        while (!key.empty() && key.back() == '\'') {
            key.remove_suffix(1);
        }
        if (!key.empty()) {
            keys.emplace_back(key);
        }
    }
    return keys;
}

std::string Joined(const std::vector<std::string>& p_keys) {
    std::string text;
    for (const std::string& key : p_keys) {
        text += (text.empty() ? "" : ", ") + key;
    }
    return text;
}

Variant ItemsArray(const std::vector<std::string>& keys) {
    VariantArray items = VariantArray::Vector(0, static_cast<int32_t>(keys.size()) - 1);
    for (size_t i = 0; i < keys.size(); ++i) {
        items.At(static_cast<int32_t>(i)) = Variant(keys[i]);
    }
    return Variant(std::move(items));
}

}  // namespace

WatchListPanel::WatchListPanel(QWidget* p_pParent)
    : QDockWidget(QStringLiteral("Watch lists"), p_pParent) {
    setObjectName(QStringLiteral("watchListPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* body = new QWidget(this);
    m_pTree = new QTreeWidget(body);
    m_pTree->setObjectName(QStringLiteral("watchListTree"));
    m_pTree->setHeaderHidden(true);
    m_pTree->setAccessibleName(QStringLiteral("Watch lists"));
    m_pOpen = new QPushButton(QStringLiteral("&Open"), body);
    m_pOpen->setObjectName(QStringLiteral("openWatchList"));
    m_pAdd = new QPushButton(QStringLiteral("&Add to watch list…"), body);
    m_pAdd->setObjectName(QStringLiteral("addToWatchList"));
    m_pAdd->setToolTip(QStringLiteral("Put rows of the list shown into a new or an existing list"));
    m_pStatus = new QLabel(body);
    m_pStatus->setObjectName(QStringLiteral("watchListStatus"));
    m_pStatus->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pOpen);
    buttons->addWidget(m_pAdd);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pTree, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_pStatus);
    setWidget(body);

    connect(m_pTree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* p_pItem) { OpenItem(p_pItem); });
    connect(m_pOpen, &QPushButton::clicked, this, [this] { OpenItem(m_pTree->currentItem()); });
    connect(m_pAdd, &QPushButton::clicked, this, [this] {
        if (m_fnAdd) {
            m_fnAdd();
        }
    });
}

void WatchListPanel::Init(int32_t p_lOwnerId, int32_t p_lWatchListId, double) {
    // The lists an owner has are the same on every day.
    m_lOwnerId = p_lOwnerId;
    m_lWatchListId = p_lWatchListId;
    Fill();
}

void WatchListPanel::Fill() {
    m_pTree->clear();
    m_pStatus->clear();
    try {
        FillKind(0, QStringLiteral("Stocks"));
        FillKind(1, QStringLiteral("Industry groups"));
    } catch (const std::exception& error) {
        Say(QStringLiteral("The watch lists cannot be read: ") +
            QString::fromStdString(ErrorText(error)));
    }
    m_pTree->expandAll();
    QTreeWidgetItem* shown = Find(m_lWatchListId);
    if (shown != nullptr) {
        QFont bold = shown->font(0);
        bold.setBold(true);
        shown->setFont(0, bold);
        m_pTree->setCurrentItem(shown);
    }
}

void WatchListPanel::FillKind(int32_t p_lKind, const QString& p_sTitle) {
    auto* top = new QTreeWidgetItem(m_pTree, QStringList{p_sTitle});
    top->setFlags(Qt::ItemIsEnabled);
    const std::vector<Entry> entries = ReadLists(m_lOwnerId, p_lKind);
    std::map<int32_t, QTreeWidgetItem*> folders;
    std::vector<std::pair<QTreeWidgetItem*, int32_t>> placed;
    for (const Entry& entry : entries) {
        auto* item = new QTreeWidgetItem(QStringList{entry.Name});
        item->setData(0, kIdRole, entry.Id);
        item->setData(0, kKindRole, p_lKind);
        item->setData(0, kListRole, !entry.Folder);
        if (entry.Folder) {
            folders[entry.Id] = item;
        }
        placed.emplace_back(item, entry.ParentId);
    }
    // Folders may hold folders named later; each goes under its parent once all are made.
    for (const auto& [item, parentId] : placed) {
        const auto parent = folders.find(parentId);
        (parent == folders.end() ? top : parent->second)->addChild(item);
    }
    if (entries.empty()) {
        auto* none = new QTreeWidgetItem(top, QStringList{QStringLiteral("(none yet)")});
        none->setFlags(Qt::ItemIsEnabled);
    }
}

QTreeWidgetItem* WatchListPanel::Find(int32_t p_lWatchListId) const {
    if (p_lWatchListId == 0) {
        return nullptr;
    }
    for (QTreeWidgetItemIterator it(m_pTree); *it != nullptr; ++it) {
        if ((*it)->data(0, kListRole).toBool() &&
            (*it)->data(0, kIdRole).toInt() == p_lWatchListId) {
            return *it;
        }
    }
    return nullptr;
}

QString WatchListPanel::ListName(int32_t p_lWatchListId) const {
    const QTreeWidgetItem* item = Find(p_lWatchListId);
    return item != nullptr ? item->text(0) : QString();
}

bool WatchListPanel::OpenList(int32_t p_lWatchListId) {
    QTreeWidgetItem* item = Find(p_lWatchListId);
    if (item == nullptr) {
        return false;
    }
    m_pTree->setCurrentItem(item);
    OpenItem(item);
    return true;
}

void WatchListPanel::OpenItem(QTreeWidgetItem* p_pItem) {
    if (p_pItem == nullptr || !p_pItem->data(0, kListRole).toBool()) {
        Say(QStringLiteral("Choose a watch list to open; folders hold lists"));
        return;
    }
    if (m_fnOpen) {
        m_fnOpen(p_pItem->data(0, kIdRole).toInt(), p_pItem->data(0, kKindRole).toInt());
    }
}

int32_t WatchListPanel::DeleteItems(const std::string& p_sItems) {
    const QTreeWidgetItem* shown = Find(m_lWatchListId);
    if (shown == nullptr) {
        Say(QStringLiteral("Rows are removed only from a watch list shown"));
        return 0;
    }
    const QString name = shown->text(0);
    const int32_t kind = shown->data(0, kKindRole).toInt();
    const std::vector<std::string> keys = KeysOf(p_sItems);
    const std::string question =
        "Remove " + Joined(keys) + " from the watch list \"" + name.toStdString() + "\"?";
    if (MsgBox(question, vbYesNo, vbQuestion, "Remove from Watch List") != vbYes) {
        Say(QStringLiteral("Kept %1 in %2").arg(QString::fromStdString(Joined(keys)), name));
        return 0;
    }
    namespace call = protocol::delete_watch_list_items;
    std::array<Variant, call::kCount> args{Variant(m_lWatchListId), ItemsArray(keys),
                                           Variant(m_lOwnerId)};
    int32_t removed = 0;
    try {
        removed = CallMethod(*PlatformContext::Current().Components().CreateObject(
                                 protocol::prog_id::kWatchListWriter),
                             call::kMethod, args)
                      .ToLong();
    } catch (const std::exception& error) {
        Say(QStringLiteral("Nothing was removed: ") + QString::fromStdString(ErrorText(error)));
        return 0;
    }
    const int32_t listId = m_lWatchListId;
    if (m_fnOpen) {
        m_fnOpen(listId, kind);
    }
    const QString chosen = QString::fromStdString(Joined(keys));
    Say(static_cast<size_t>(removed) == keys.size()
            ? QStringLiteral("Removed %1 from %2").arg(chosen, name)
            : QStringLiteral("Removed %1 of %2 from %3; the others were not in it")
                  .arg(QString::number(removed), chosen, name));
    return removed;
}

void WatchListPanel::Say(const QString& p_sText) {
    m_pStatus->setText(p_sText);
}

QString WatchListPanel::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv
