#include "app/ui/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include "app/ui/resources.h"

namespace kdm {
namespace {

struct Topic {
  const char* name;
  const char* page;
};

// The topics the windows name, and the pages of the help menu's items.
constexpr Topic kTopics[] = {
    {"~T1.0", "t1_0.html"},
    {"Upute za rad", "upute_za_rad.html"},
    {"Obveznik", "obveznik.html"},
    {"Upute za upis i ažuriranje podataka o osiguranicima", "osiguranici.html"},
    {"~T5.0", "t5_0.html"},
    {"~T4.0", "t4_0.html"},
    {"~T3.0", "t3_0.html"},
    {"Upute za obradu", "obrada.html"},
    {"Kako koristiti Upute", "kako_koristiti.html"},
};

QString pageText(const QString& url) {
  QFile f(QString(url).remove(0, 3));  // "qrc:/help/x" -> ":/help/x"
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

QString helpPageOf(const QString& topic) {
  const QString name = topic.trimmed();
  for (const Topic& t : kTopics)
    if (name.compare(QString::fromUtf8(t.name), Qt::CaseInsensitive) == 0)
      return QStringLiteral("qrc:/help/") + QString::fromLatin1(t.page);
  return {};
}

QStringList helpTopics() {
  QStringList all;
  for (const Topic& t : kTopics) all << QString::fromUtf8(t.name);
  return all;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      browser_(new QTextBrowser(this)),
      searchField_(new QLineEdit(this)),
      results_(new QListWidget(this)) {
  loadResources();
  setObjectName(QStringLiteral("Upute"));
  setWindowTitle(QString::fromUtf8(kCaption));
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* contents = new QPushButton(QStringLiteral("&Sadržaj"), this);
  auto* back = new QPushButton(QStringLiteral("&Natrag"), this);
  auto* forward = new QPushButton(QStringLiteral("Na&prijed"), this);
  auto* prompt = new QLabel(QStringLiteral("&Traži:"), this);
  prompt->setBuddy(searchField_);
  bar->addWidget(contents);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addSpacing(16);
  bar->addWidget(prompt);
  bar->addWidget(searchField_, 1);
  layout->addLayout(bar);
  auto* split = new QSplitter(this);
  results_->setAccessibleName(QStringLiteral("Pronađene teme"));
  browser_->setAccessibleName(QStringLiteral("Tekst upute"));
  browser_->setOpenLinks(true);
  browser_->setSearchPaths({QStringLiteral(":/help")});
  split->addWidget(results_);
  split->addWidget(browser_);
  split->setSizes({240, 520});
  layout->addWidget(split, 1);
  results_->hide();

  connect(contents, &QPushButton::clicked, this, [this] { showTopic(QStringLiteral("~T1.0")); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(searchField_, &QLineEdit::returnPressed, this, [this] { search(searchField_->text()); });
  connect(results_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { browser_->setSource(QUrl(item->data(Qt::UserRole).toString())); });
  connect(results_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item) browser_->setSource(QUrl(item->data(Qt::UserRole).toString()));
  });
  resize(760, 540);
}

bool HelpWindow::showTopic(const QString& topic) {
  const QString page = helpPageOf(topic);
  if (page.isEmpty()) return false;
  browser_->setSource(QUrl(page));
  return true;
}

void HelpWindow::showSearch() {
  results_->show();
  searchField_->setFocus();
  searchField_->selectAll();
}

QStringList HelpWindow::search(const QString& words) {
  results_->clear();
  results_->show();
  QStringList titles;
  const QString wanted = words.simplified();
  if (wanted.isEmpty()) return titles;
  QStringList seen;
  for (const QString& topic : helpTopics()) {
    const QString page = helpPageOf(topic);
    if (seen.contains(page)) continue;
    seen << page;
    QTextDocument doc;
    doc.setHtml(pageText(page));
    if (!doc.toPlainText().simplified().contains(wanted, Qt::CaseInsensitive)) continue;
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    auto* item = new QListWidgetItem(title, results_);
    item->setToolTip(title);
    item->setData(Qt::UserRole, page);
    titles << title;
  }
  return titles;
}

}  // namespace kdm
