#include "controls/ui/stablo.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kdm {
namespace {

// Where an item of the tree stands in the loaded levels.
constexpr int kPathRole = Qt::UserRole;

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Stablo::Stablo(DataStore& store, Globals& globals, OpenControlRow openControlRow, Print print, QWidget* parent)
    : QWidget(parent), store_(store), GLO(globals), openControlRow_(std::move(openControlRow)),
      print_(std::move(print)), tree_(new QTreeWidget(this)), popup_(new QMenu(this)) {
  setWindowTitle(QString::fromUtf8(kCaption));
  tree_->setHeaderHidden(true);
  tree_->setAccessibleName(QString::fromUtf8("Kontrole po vrsti obveznika, vrsti obračuna i osnovi obračuna"));
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);

  struct Action {
    const char* text;
    std::function<void()> run;
  };
  const std::vector<Action> actions = {
      {"&Dodaj", [this] { add(); }},
      {"&Promijeni", [this] { change(); }},
      {"&Obriši", [this] { remove(); }},
      {"&Ispiši", [this] { print_(); }},
      {"&Otvori sve", [this] { expandEverything(); }},
      {"&Skupi sve", [this] { collapseEverything(); }},
      {"&Zatvori", [this] { close(); }},
  };
  auto* buttons = new QVBoxLayout;
  for (const Action& a : actions) {
    auto* b = new QPushButton(QString::fromUtf8(a.text), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, a.run);
    buttons->addWidget(b);
    buttons_.push_back(b);
  }
  buttons->addStretch();
  for (const QString& entry : QString::fromUtf8(kPopup).split('|')) {
    if (entry == "-") {
      popup_->addSeparator();
      continue;
    }
    for (std::size_t i = 0; i < actions.size(); ++i)
      if (QString::fromUtf8(actions[i].text) == entry) popup_->addAction(entry, this, actions[i].run);
  }
  connect(tree_, &QTreeWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(tree_->viewport()->mapToGlobal(at)); });
  connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem*, int) { change(); });

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addLayout(buttons);
  resize(760, 520);
  reload();
}

QPushButton* Stablo::button(const QString& label) const {
  for (QPushButton* b : buttons_)
    if (b->text() == label) return b;
  return nullptr;
}

void Stablo::reload() {
  if (Error e = loadControlTree(store_, items_)) {
    items_.clear();
    QMessageBox::warning(this, windowTitle(), QString::fromStdString("Greška " + e.text));
  }
  showItems();
}

// Every item carries its path (indices per level) to find its codes.
void Stablo::showItems() {
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  tree_->clear();
  for (std::size_t k = 0; k < items_.size(); ++k) {
    auto* kind = new QTreeWidgetItem(tree_, {text(items_[k].text)});
    kind->setIcon(0, closed);
    kind->setData(0, kPathRole, QList<QVariant>{int(k)});
    for (std::size_t p = 0; p < items_[k].children.size(); ++p) {
      const ControlTreeItem& payment = items_[k].children[p];
      auto* pay = new QTreeWidgetItem(kind, {text(payment.text)});
      pay->setIcon(0, open);
      pay->setData(0, kPathRole, QList<QVariant>{int(k), int(p)});
      for (std::size_t o = 0; o < payment.children.size(); ++o) {
        auto* basis = new QTreeWidgetItem(pay, {text(payment.children[o].text)});
        basis->setData(0, kPathRole, QList<QVariant>{int(k), int(p), int(o)});
      }
    }
  }
  if (tree_->topLevelItemCount() > 0) tree_->setCurrentItem(tree_->topLevelItem(0));
}

const ControlTreeItem* Stablo::itemOf(QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  const QList<QVariant> path = item->data(0, kPathRole).toList();
  const ControlTreeItem* at = nullptr;
  const std::vector<ControlTreeItem>* level = &items_;
  for (const QVariant& v : path) {
    std::size_t i = static_cast<std::size_t>(v.toInt());
    if (i >= level->size()) return nullptr;
    at = &(*level)[i];
    level = &at->children;
  }
  return at;
}

void Stablo::add() {
  chooseNewControlRow(GLO);
  if (openControlRow_ && openControlRow_(Insert)) reload();
}

void Stablo::openOnCurrent(Request request) {
  const ControlTreeItem* item = itemOf(tree_->currentItem());
  if (!item || !chooseControlRow(GLO, *item)) return;
  const std::string vob = item->vob, voi = item->voi, oo = item->oo;
  if (!openControlRow_ || !openControlRow_(request)) return;
  reload();
  // The cursor returns to the item that was current.
  for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
    const ControlTreeItem* again = itemOf(*it);
    if (again && again->level == 3 && again->vob == vob && again->voi == voi && again->oo == oo) {
      tree_->setCurrentItem(*it);
      tree_->scrollToItem(*it);
      break;
    }
  }
}

void Stablo::expandEverything() { tree_->expandAll(); }
void Stablo::collapseEverything() { tree_->collapseAll(); }

void Stablo::keyPressEvent(QKeyEvent* event) {
  QTreeWidgetItem* current = tree_->currentItem();
  if (current && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)) {
    current->setExpanded(event->key() == Qt::Key_Plus);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace kdm
