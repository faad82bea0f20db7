#include "shell/watch_list_panel.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "shell/panel_parts.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <array>
#include <map>
#include <optional>
#include <set>
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

// A key without the blanks and quotes around it: the control's Delete event joins keys for a
// query ("AAA','BBB"), a spreadsheet quotes the fields of a CSV file.
std::string_view BareKey(std::string_view p_sField) {
    std::string_view key = TrimWhitespace(p_sField);
    while (!key.empty() && (key.front() == '\'' || key.front() == '"')) {
        key.remove_prefix(1);
    }
    while (!key.empty() && (key.back() == '\'' || key.back() == '"')) {
        key.remove_suffix(1);
    }
    return TrimWhitespace(key);
}

// The fields of a line, empty ones kept so that a column stays in its place.
std::vector<std::string> FieldsOf(const std::string& p_sLine) {
    std::vector<std::string> fields;
    for (const std::string& part : SplitText(p_sLine, ',')) {
        fields.emplace_back(BareKey(part));
    }
    return fields;
}

std::vector<std::string> KeysOf(const std::string& p_sItems) {
    std::vector<std::string> keys = FieldsOf(p_sItems);
    std::erase_if(keys, [](const std::string& p_sKey) { return p_sKey.empty(); });
    return keys;
}

// The column of the symbols when the first line is a header naming "Symbol"; -1 for none.
int SymbolColumn(const std::vector<std::string>& p_fields) {
    for (size_t i = 0; i < p_fields.size(); ++i) {
        if (EqualsIgnoreCase(p_fields[i], "Symbol")) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The symbols of a file: one a line or several separated by commas; under a header line naming
// "Symbol" (a CSV file of a spreadsheet) only that column. Each once, in upper case, in the
// file's order.
std::vector<std::string> SymbolsOfText(const std::string& p_sText) {
    std::vector<std::string> symbols;
    std::set<std::string> seen;
    std::optional<int> column;
    for (const std::string& line : SplitText(p_sText, '\n')) {
        const std::vector<std::string> fields = FieldsOf(line);
        if (KeysOf(line).empty()) {
            continue;
        }
        if (!column) {
            column = SymbolColumn(fields);
            if (*column >= 0) {
                continue;
            }
        }
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].empty() || (*column >= 0 && static_cast<int>(i) != *column)) {
                continue;
            }
            std::string symbol = ToUpperAscii(fields[i]);
            if (seen.insert(symbol).second) {
                symbols.push_back(std::move(symbol));
            }
        }
    }
    return symbols;
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

WatchListPanel::WatchListPanel(QWidget* p_pParent) : SupportPanel(p_pParent) {
    setObjectName(QStringLiteral("watchListPanel"));
    auto* title = new QLabel(QStringLiteral("Watch lists"), this);
    m_pClose = NewCloseButton(this, [this] { RaiseEvent("CLOSECLICKED"); });
    m_pClose->hide();
    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(QStringLiteral("watchListTree"));
    m_pTree->setHeaderHidden(true);
    m_pTree->setAccessibleName(QStringLiteral("Watch lists"));
    auto* open = new QPushButton(QStringLiteral("&Open"), this);
    open->setObjectName(QStringLiteral("openWatchList"));
    auto* import = new QPushButton(QStringLiteral("&Import…"), this);
    import->setObjectName(QStringLiteral("importWatchList"));
    import->setToolTip(QStringLiteral("Add the symbols of a text or CSV file to the open list"));
    auto* add = new QPushButton(QStringLiteral("&Add to watch list…"), this);
    add->setObjectName(QStringLiteral("addToWatchList"));
    add->setToolTip(QStringLiteral("Put rows of the list shown into a new or an existing list"));
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("watchListStatus"));
    m_pStatus->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(m_pClose);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(import);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_pTree, 1);
    layout->addLayout(buttons);
    layout->addWidget(add);
    layout->addWidget(m_pStatus);

    connect(m_pTree, &QTreeWidget::itemActivated, this,
            [this](const QTreeWidgetItem* p_pItem) { OpenItem(p_pItem); });
    connect(open, &QPushButton::clicked, this, [this] { OpenItem(m_pTree->currentItem()); });
    connect(import, &QPushButton::clicked, this, [this] { RaiseEvent("IMPORT"); });
    connect(add, &QPushButton::clicked, this,
            [this] { RaiseEvent("ADDTOWATCHLIST", {Variant::Nothing()}); });
}

std::shared_ptr<DispatchObject> WatchListPanel::Object() {
    return std::make_shared<PanelObject<WatchListPanel>>(*this, Table(), "ctlWatchListSupport");
}

const DispatchTable& WatchListPanel::Table() {
    using Self = PanelObject<WatchListPanel>;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("Init", 3, 3,
                    [](Self& self, DispatchArgs args) {
                        self.Panel().Init(args[0].ToLong(), args[1].ToLong(), args[2].ToDate());
                        return Variant();
                    })
            .Let("ShowClose",
                 [](Self& self, const Variant& v) { self.Panel().SetShowClose(v.ToBool()); })
            .Get("CurrentWatchListID",
                 [](Self& self) { return Variant(self.Panel().CurrentWatchListId()); })
            .Property(
                "CurrentDate", [](Self& self) { return Variant::Date(self.Panel().CurrentDate()); },
                [](Self& self, const Variant& v) { self.Panel().SetCurrentDate(v.ToDate()); })
            .Method("Import", 0, 0,
                    [](Self& self, DispatchArgs) { return Variant(self.Panel().Import()); })
            .Method("DeleteItems", 1, 1,
                    [](Self& self, DispatchArgs args) {
                        return Variant(self.Panel().DeleteItems(args[0].ToString()));
                    })
            .Build();
    return table;
}

void WatchListPanel::Init(int32_t p_lOwnerId, int32_t p_lListKind, double p_dDate) {
    m_lOwnerId = p_lOwnerId;
    m_lListKind = p_lListKind;
    m_dDate = p_dDate;
    Fill();
}

void WatchListPanel::SetShowClose(bool p_bShow) {
    m_pClose->setVisible(p_bShow);
}

void WatchListPanel::SetCurrentWatchList(int32_t p_lWatchListId) {
    m_lWatchListId = p_lWatchListId;
}

void WatchListPanel::Fill() {
    m_pTree->clear();
    m_pStatus->clear();
    try {
        if (m_lListKind != 1) {
            FillKind(0, QStringLiteral("Stocks"));
        }
        if (m_lListKind != 0) {
            FillKind(1, QStringLiteral("Industry groups"));
        }
    } catch (const std::exception& error) {
        Say(QStringLiteral("The watch lists cannot be read: ") +
            QString::fromStdString(ErrorText(error)));
    }
    m_pTree->expandAll();
    MarkCurrent(true);
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

void WatchListPanel::OpenItem(const QTreeWidgetItem* p_pItem) {
    if (p_pItem == nullptr || !p_pItem->data(0, kListRole).toBool()) {
        Say(QStringLiteral("Choose a watch list to open; folders hold lists"));
        return;
    }
    MarkCurrent(false);
    m_lWatchListId = p_pItem->data(0, kIdRole).toInt();
    MarkCurrent(true);
    RaiseChanged(p_pItem->data(0, kKindRole).toInt());
}

void WatchListPanel::MarkCurrent(bool p_bCurrent) {
    QTreeWidgetItem* shown = Find(m_lWatchListId);
    if (shown == nullptr) {
        return;
    }
    QFont font = shown->font(0);
    font.setBold(p_bCurrent);
    shown->setFont(0, font);
    if (p_bCurrent) {
        m_pTree->setCurrentItem(shown);
    }
}

void WatchListPanel::RaiseChanged(int32_t p_lKind) {
    RaiseEvent("WATCHLISTCHANGED",
               {Variant(static_cast<int16_t>(p_lKind)), Variant(m_lOwnerId),
                Variant(m_lWatchListId), Variant::Date(m_dDate), Variant(std::string("A"))});
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
    RaiseChanged(kind);
    const QString chosen = QString::fromStdString(Joined(keys));
    Say(static_cast<size_t>(removed) == keys.size()
            ? QStringLiteral("Removed %1 from %2").arg(chosen, name)
            : QStringLiteral("Removed %1 of %2 from %3; the others were not in it")
                  .arg(QString::number(removed), chosen, name));
    return removed;
}

int32_t WatchListPanel::Import() {
    const QTreeWidgetItem* shown = Find(m_lWatchListId);
    if (shown == nullptr) {
        Say(QStringLiteral("Open a watch list first: the symbols go into it"));
        return 0;
    }
    const QString path = ChooseFile();
    if (path.isEmpty()) {
        return 0;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Say(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
        return 0;
    }
    const int32_t kind = shown->data(0, kKindRole).toInt();
    std::vector<std::string> known;
    std::vector<std::string> unknown;
    for (std::string& symbol : SymbolsOfText(file.readAll().toStdString())) {
        const bool isKnown = !m_fnItemCheck || m_fnItemCheck(symbol, kind);
        (isKnown ? known : unknown).push_back(std::move(symbol));
    }
    const QString unknownText =
        unknown.empty() ? QString()
                        : QStringLiteral("; not known: ") + QString::fromStdString(Joined(unknown));
    if (known.empty()) {
        Say(QStringLiteral("No symbols were added to %1").arg(shown->text(0)) + unknownText);
        return 0;
    }
    const int32_t added = AddItems(*shown, known);
    if (added < 0) {
        return 0;
    }
    const QString name = shown->text(0);
    Fill();
    Say(QStringLiteral("Added %1 of %2 symbols to %3").arg(added).arg(known.size()).arg(name) +
        unknownText);
    RaiseChanged(kind);
    return added;
}

QString WatchListPanel::ChooseFile() const {
    if (m_fnChooseFile) {
        return m_fnChooseFile();
    }
    return QFileDialog::getOpenFileName(
        const_cast<WatchListPanel*>(this), QStringLiteral("Import symbols into the watch list"),
        QString(), QStringLiteral("Symbol lists (*.txt *.csv);;All files (*)"));
}

int32_t WatchListPanel::AddItems(const QTreeWidgetItem& p_oList,
                                 const std::vector<std::string>& p_items) {
    namespace call = protocol::add_watch_list_items;
    std::array<Variant, call::kMaxCount> args{
        Variant(p_oList.data(0, kIdRole).toInt()), ItemsArray(p_items),
        Variant(p_oList.data(0, kKindRole).toInt()), Variant(m_lOwnerId)};
    try {
        return CallMethod(*PlatformContext::Current().Components().CreateObject(
                              protocol::prog_id::kWatchListWriter),
                          call::kMethod, args)
            .ToLong();
    } catch (const std::exception& error) {
        Say(QStringLiteral("Nothing was added: ") + QString::fromStdString(ErrorText(error)));
        return -1;
    }
}

void WatchListPanel::Say(const QString& p_sText) {
    m_pStatus->setText(p_sText);
}

QString WatchListPanel::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv
