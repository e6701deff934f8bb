#include "ui/list_window.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace kdm::ui {

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if ((action == MoveHome || action == MoveEnd) && model() && model()->rowCount() > 0) {
    int row = action == MoveHome ? 0 : model()->rowCount() - 1;
    return model()->index(row, std::max(0, currentIndex().column()));
  }
  return QTableView::moveCursor(action, modifiers);
}

ListWindow::ListWindow(DataStore& store, ListDecl decl, QWidget* parent)
    : QWidget(parent), store_(store), decl_(std::move(decl)), file_(store, decl_.label), reporter_(this) {
  setWindowTitle(decl_.title);
  auto* layout = new QVBoxLayout(this);

  tabs_ = new QTabBar(this);
  for (const ListTab& t : decl_.tabs) tabs_->addTab(t.caption);
  tabs_->setVisible(decl_.tabs.size() > 1 || (!decl_.tabs.empty() && !decl_.tabs[0].caption.isEmpty()));
  tabs_->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(tabs_);

  view_ = new ListView(this);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setTabKeyNavigation(false);
  view_->setWordWrap(false);
  view_->setAlternatingRowColors(true);
  view_->verticalHeader()->hide();
  // Fixed row heights, so the view never asks a row for its size.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->setAccessibleName(decl_.title);
  layout->addWidget(view_, 1);

  auto* locatorRow = new QHBoxLayout;
  locatorLabel_ = new QLabel(this);
  locator_ = new QLineEdit(this);
  locatorLabel_->setBuddy(locator_);
  locatorRow->addWidget(locatorLabel_);
  locatorRow->addWidget(locator_, 1);
  layout->addLayout(locatorRow);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  for (const ListButton& b : decl_.buttons) {
    auto* button = new QPushButton(b.text, this);
    button->setToolTip(b.toolTip);
    button->setAutoDefault(false);
    buttons_.emplace_back(b.action, button);
    buttonRow->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, a = b.action] { trigger(a); });
  }
  layout->addLayout(buttonRow);

  statusBar_ = new QStatusBar(this);
  statusBar_->setSizeGripEnabled(false);
  layout->addWidget(statusBar_);
  reporter_.setStatusLine(statusBar_);

  if (Error e = file_.open()) {
    reporter_.message(e.text);
    return;
  }
  ready_ = true;
  model_ = std::make_unique<RecordListModel>(file_, decl_.columns);
  view_->setModel(model_.get());
  QFontMetrics fm(view_->font());
  int total = 0;
  for (std::size_t c = 0; c < decl_.columns.size(); ++c) {
    int chars = columnChars(decl_.columns[c]);
    int width = std::max(fm.horizontalAdvance(QString(std::min(chars, 40), QLatin1Char('0'))),
                         fm.horizontalAdvance(decl_.columns[c].header)) + 16;
    view_->setColumnWidth(static_cast<int>(c), width);
    total += width;
  }
  view_->horizontalHeader()->setStretchLastSection(true);
  // Wide enough to show every column when it opens, as far as a screen allows.
  resize(std::clamp(total + 60, 480, 1200), std::max(height(), 420));

  connect(tabs_, &QTabBar::currentChanged, this, &ListWindow::changeTab);
  connect(view_, &ListView::typed, this, [this](const QString& text) {
    if (!locator_->isVisible() || !locator_->isEnabled()) return;
    locator_->setFocus();
    locator_->setText(locator_->text() + text);
    locate(locator_->text());
  });
  connect(locator_, &QLineEdit::textEdited, this, &ListWindow::locate);
  // Enter reaches keyPressEvent (the view leaves it unhandled); a double
  // click does the same.
  connect(view_, &QAbstractItemView::doubleClicked, this, [this] {
    trigger(button(ListAction::Select) ? ListAction::Select : ListAction::Change);
  });
  changeTab(0);
  view_->setFocus();
}

ListWindow::~ListWindow() {
  view_->setModel(nullptr);
  model_.reset();
}

QPushButton* ListWindow::button(ListAction action) const {
  for (auto& [a, b] : buttons_)
    if (a == action) return b;
  return nullptr;
}

void ListWindow::changeTab(int tab) {
  if (!ready_ || tab < 0 || tab >= static_cast<int>(decl_.tabs.size())) return;
  const ListTab& t = decl_.tabs[static_cast<std::size_t>(tab)];
  const KeyDef* key = file_.def().key(t.key);
  // The highlighted record stays highlighted in the new order.
  std::optional<Record> keep;
  if (const Record* r = current()) keep = *r;
  Record bounds = file_.blank();
  if (decl_.bounds) decl_.bounds(bounds);
  if (!model_->setRange(key, decl_.fixedComponents, bounds)) reporter_.message(model_->lastError().text);
  locatorLabel_->setText(t.locatorPrompt);
  locatorLabel_->setVisible(!t.locatorField.empty());
  locator_->setVisible(!t.locatorField.empty());
  locator_->setAccessibleName(QString(t.locatorPrompt).remove(QLatin1Char('&')));
  locator_->setToolTip(t.locatorToolTip);
  locator_->clear();
  setCurrentRow(keep ? model_->locate(*keep) : 0);
}

const Record* ListWindow::current() const {
  int row = currentRow();
  return row < 0 || !model_ ? nullptr : model_->record(row);
}

int ListWindow::currentRow() const {
  QModelIndex i = view_->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void ListWindow::setCurrentRow(int row) {
  if (!model_ || model_->rowCount() == 0) return;
  row = std::clamp(row, 0, model_->rowCount() - 1);
  QModelIndex i = model_->index(row, std::max(0, view_->currentIndex().column()));
  view_->setCurrentIndex(i);
  view_->scrollTo(i, QAbstractItemView::PositionAtCenter);
}

void ListWindow::locate(const QString& text) {
  if (!ready_ || tabs_->currentIndex() < 0) return;
  const ListTab& t = decl_.tabs[static_cast<std::size_t>(tabs_->currentIndex())];
  Record at = file_.blank();
  if (decl_.bounds) decl_.bounds(at);
  int field = file_.def().fieldIndex(t.locatorField);
  if (field < 0) return;
  if (file_.def().fields[field].isText())
    at.setText(field, text.toStdString());
  else if (Error e = at.parse(field, text.trimmed().toStdString()))
    return;  // not a number yet: the highlight stays
  int row = model_->locate(at);
  if (row >= 0) setCurrentRow(row);
}

void ListWindow::refresh() {
  if (!ready_) return;
  int row = currentRow();
  model_->refresh();
  if (model_->lastError()) reporter_.message(model_->lastError().text);
  setCurrentRow(row);
}

void ListWindow::trigger(ListAction action) {
  QPushButton* b = button(action);
  if ((b && !b->isEnabled()) || (!b && action != ListAction::Close)) return;
  switch (action) {
    case ListAction::Close: closeWindow(); return;
    case ListAction::Help: emit helpRequested(decl_.helpTopic); return;
    default:
      if (onAction) onAction(*this, action, current());
  }
}

void ListWindow::closeWindow() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    sub->close();
  else
    close();
}

void ListWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Insert: trigger(ListAction::Add); return;
    case Qt::Key_Delete: trigger(ListAction::Remove); return;
    case Qt::Key_Escape: trigger(ListAction::Close); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (button(ListAction::Select)) trigger(ListAction::Select);
      else trigger(ListAction::Change);
      return;
    default: QWidget::keyPressEvent(event);
  }
}

bool ListWindow::toolbarAction(ToolbarButton b) {
  auto act = [this](ListAction action) {
    if (!button(action)) return false;
    trigger(action);
    return true;
  };
  const int page = std::max(1, view_->viewport()->height() / std::max(1, view_->verticalHeader()->defaultSectionSize()));
  const int row = currentRow();
  switch (b) {
    case ToolbarButton::First: setCurrentRow(0); return true;
    case ToolbarButton::PageUp: setCurrentRow(row - page); return true;
    case ToolbarButton::Up: setCurrentRow(row - 1); return true;
    case ToolbarButton::Down: setCurrentRow(row + 1); return true;
    case ToolbarButton::PageDown: setCurrentRow(row + page); return true;
    case ToolbarButton::Last: setCurrentRow(model_ ? model_->rowCount() - 1 : 0); return true;
    case ToolbarButton::Find:
      if (!locator_->isVisible()) return false;
      locator_->setFocus();
      locator_->selectAll();
      return true;
    case ToolbarButton::Select: return act(ListAction::Select);
    case ToolbarButton::Insert: return act(ListAction::Add);
    case ToolbarButton::Change: return act(ListAction::Change);
    case ToolbarButton::Delete: return act(ListAction::Remove);
    case ToolbarButton::Help: return act(ListAction::Help);
    case ToolbarButton::Ditto: return false;
  }
  return false;
}

}  // namespace kdm::ui
