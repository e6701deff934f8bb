#include "app/ui/main_frame.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/parameters.h"
#include "app/ui/about_dialog.h"
#include "app/ui/help_window.h"
#include "app/ui/menu_table.h"
#include "app/ui/not_available.h"
#include "app/ui/splash.h"
#include "app/ui/resources.h"

namespace kdm {
namespace {

const char* kProcedure = "kdmProcedure";
const char* kHelpTopic = "kdmHelpTopic";

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// "&4. Vrste obračuna/ispravka" -> "Vrste obračuna/ispravka".
QString titleOf(const MenuItemDef& item) {
  QString t = text(item.text).remove(QLatin1Char('&'));
  t.remove(QRegularExpression(QStringLiteral("^\\w\\.\\s*")));
  return t.trimmed();
}

const MenuItemDef* itemOf(const QString& procedure) {
  for (const MenuItemDef& item : menuItems())
    if (procedure == QLatin1String(item.procedure)) return &item;
  return nullptr;
}

QStyle::StandardPixmap pictureOf(ToolbarButton b) {
  switch (b) {
    case ToolbarButton::First: return QStyle::SP_MediaSkipBackward;
    case ToolbarButton::PageUp: return QStyle::SP_MediaSeekBackward;
    case ToolbarButton::Up: return QStyle::SP_ArrowUp;
    case ToolbarButton::Find: return QStyle::SP_FileDialogContentsView;
    case ToolbarButton::Down: return QStyle::SP_ArrowDown;
    case ToolbarButton::PageDown: return QStyle::SP_MediaSeekForward;
    case ToolbarButton::Last: return QStyle::SP_MediaSkipForward;
    case ToolbarButton::Select: return QStyle::SP_DialogApplyButton;
    case ToolbarButton::Insert: return QStyle::SP_FileIcon;
    case ToolbarButton::Change: return QStyle::SP_FileDialogDetailedView;
    case ToolbarButton::Delete: return QStyle::SP_TrashIcon;
    case ToolbarButton::Ditto: return QStyle::SP_BrowserReload;
    case ToolbarButton::Help: return QStyle::SP_DialogHelpButton;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

MainFrame::MainFrame(DataStore& store, QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      area_(new QMdiArea(this)),
      positions_(QString::fromStdString(store.dir())),
      params_(store) {
  loadResources();
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(text(kCaption));
  setWindowIcon(QIcon(QStringLiteral(":/kdm/kdm.png")));
  setCentralWidget(area_);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  resize(1024, 720);
  positions_.restore(*this, QString::fromLatin1(WindowPositions::kFrameSection));
  buildMenu();
  buildToolbar();
  statusBar();
  // Kept open while the frame runs, so the file exists from the first start.
  if (Error e = params_.open())
    QMessageBox::warning(this, QStringLiteral("Greška"),
                         QStringLiteral("Greška kod otvaranja APLPARAM: ") + QString::fromStdString(e.text));
}

MainFrame::~MainFrame() {
  if (help_) delete help_.data();
  if (splash_) delete splash_.data();
}

MainFrame* MainFrame::of(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (auto* frame = qobject_cast<MainFrame*>(w)) return frame;
  return nullptr;
}

void MainFrame::registerWindow(const QString& procedure, WindowFactory factory, const QString& helpTopic) {
  registry_[procedure] = Entry{std::move(factory), helpTopic};
}

void MainFrame::buildMenu() {
  std::vector<QMenu*> built;
  for (const MenuDef& m : menus()) {
    QMenu* menu = menuBar()->addMenu(text(m.title));
    menu->menuAction()->setStatusTip(text(m.hint));
    built.push_back(menu);
  }
  for (const MenuItemDef& item : menuItems()) {
    QMenu* menu = built[item.menu];
    if (item.action == MenuAction::Separator) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(text(item.text));
    a->setStatusTip(text(item.hint));
    if (item.action == MenuAction::Exit) a->setMenuRole(QAction::NoRole);
    connect(a, &QAction::triggered, this, [this, &item] { choose(item); });
  }
}

void MainFrame::buildToolbar() {
  QToolBar* bar = addToolBar(QStringLiteral("Alatna traka"));
  bar->setObjectName(QStringLiteral("toolbar"));
  bar->setMovable(false);
  for (const ToolbarButtonDef& def : kToolbarButtons) {
    const QString tip = text(def.tooltip);
    QAction* a = bar->addAction(style()->standardIcon(pictureOf(def.button)), tip.trimmed());
    a->setToolTip(tip);
    a->setStatusTip(tip);
    // A screen reader names the button by its tooltip, as a sighted user reads it.
    if (QWidget* w = bar->widgetForAction(a)) w->setAccessibleName(tip);
    const ToolbarButton button = def.button;
    connect(a, &QAction::triggered, this, [this, button] {
      closeSplash();
      toolbarPressed(button);
    });
    toolbar_[button] = a;
  }
}

QAction* MainFrame::toolbarAction(ToolbarButton button) const {
  auto it = toolbar_.find(button);
  return it == toolbar_.end() ? nullptr : it->second;
}

void MainFrame::choose(const MenuItemDef& item) {
  closeSplash();
  switch (item.action) {
    case MenuAction::Separator: break;
    case MenuAction::Parameters:
      // A record that cannot be added still lets the window open on what
      // the file holds; the window itself reports what it cannot read.
      ensureParameters(store_);
      startProcedure(QString::fromLatin1(item.procedure));
      break;
    case MenuAction::Start: startProcedure(QString::fromLatin1(item.procedure)); break;
    case MenuAction::Exit: close(); break;
    case MenuAction::PrinterSetup: printerSetup(); break;
    case MenuAction::Cut: editAction("cut"); break;
    case MenuAction::Copy: editAction("copy"); break;
    case MenuAction::Paste: editAction("paste"); break;
    case MenuAction::Tile: area_->tileSubWindows(); break;
    case MenuAction::Cascade: area_->cascadeSubWindows(); break;
    case MenuAction::ArrangeIcons: arrangeIcons(); break;
    case MenuAction::About: showAbout(); break;
    case MenuAction::HelpContents: showHelp(QString::fromLatin1(kContentsTopic)); break;
    case MenuAction::HelpSearch:
      showHelp(QString::fromLatin1(kContentsTopic));
      help_->showSearch();
      break;
    case MenuAction::HelpOnHelp: showHelp(QStringLiteral("Kako koristiti Upute")); break;
  }
}

QMdiSubWindow* MainFrame::startProcedure(const QString& procedure) {
  QWidget* widget = nullptr;
  QString topic;
  auto it = registry_.find(procedure);
  if (it != registry_.end()) {
    widget = it->second.factory(*this);
    if (!widget) return nullptr;
    topic = it->second.helpTopic;
  } else {
    const MenuItemDef* item = itemOf(procedure);
    widget = new NotAvailableWindow(item ? titleOf(*item) : procedure, procedure);
  }
  QMdiSubWindow* sub = area_->addSubWindow(widget);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setProperty(kProcedure, procedure);
  sub->setProperty(kHelpTopic, topic);
  if (widget->windowIcon().isNull()) sub->setWindowIcon(windowIcon());
  if (!positions_.restore(*sub, procedure)) sub->adjustSize();
  sub->installEventFilter(this);
  sub->show();
  area_->setActiveSubWindow(sub);
  widget->setFocus();
  return sub;
}

bool MainFrame::toolbarPressed(ToolbarButton button) {
  QMdiSubWindow* sub = area_->currentSubWindow();
  if (!sub) sub = area_->activeSubWindow();
  if (!sub || !sub->widget()) return false;
  if (auto* target = dynamic_cast<ToolbarTarget*>(sub->widget()))
    if (target->toolbarAction(button)) return true;
  // The help of a window that does not answer the button itself is its topic.
  if (button == ToolbarButton::Help) {
    const QString topic = sub->property(kHelpTopic).toString();
    if (!topic.isEmpty()) return showHelp(topic);
  }
  return false;
}

bool MainFrame::showHelp(const QString& topic) {
  if (helpPageOf(topic).isEmpty()) return false;
  if (!help_) {
    help_ = new HelpWindow;
    help_->setWindowIcon(windowIcon());
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->showTopic(topic);
  help_->show();
  help_->raise();
  help_->activateWindow();
  return true;
}

void MainFrame::showAbout() {
  auto* about = new AboutDialog(this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->setWindowIcon(windowIcon());
  about->open();
}

void MainFrame::closeSplash() {
  if (splash_) splash_->close();
}

void MainFrame::arrangeIcons() {
  // Minimised children in a row along the bottom of the area, left to right.
  int x = 0;
  for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > area_->viewport()->width()) x = 0;
    sub->move(x, area_->viewport()->height() - size.height());
    x += size.width();
  }
}

void MainFrame::editAction(const char* slot) {
  // The focused field of the active window does the clipboard work itself.
  if (QWidget* w = QApplication::focusWidget()) QMetaObject::invokeMethod(w, slot);
}

void MainFrame::printerSetup() {
  if (!printer_) printer_ = std::make_unique<QPrinter>();
  QPrintDialog dialog(printer_.get(), this);
  dialog.setWindowTitle(QStringLiteral("Izbor i podešavanje pisača"));
  dialog.exec();
}

void MainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (splashShown_) return;
  splashShown_ = true;
  splash_ = new Splash;
  splash_->adjustSize();
  splash_->move(geometry().center() - splash_->rect().center());
  splash_->show();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close)
    if (auto* sub = qobject_cast<QMdiSubWindow*>(watched))
      if (sub->isVisible()) positions_.save(*sub, sub->property(kProcedure).toString());
  return QMainWindow::eventFilter(watched, event);
}

void MainFrame::closeEvent(QCloseEvent* event) {
  closeSplash();
  area_->closeAllSubWindows();
  if (!area_->subWindowList().isEmpty()) {
    event->ignore();
    return;
  }
  positions_.save(*this, QString::fromLatin1(WindowPositions::kFrameSection));
  if (help_) help_->close();
  params_.close();
  event->accept();
}

}  // namespace kdm
