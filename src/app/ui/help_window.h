// The help viewer: the help topics the windows name ("~T1.0", "Upute za
// rad", ...) are HTML pages compiled into the program, shown in one
// browser window with back and forward, the contents and a search over
// every page.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace kdm {

// The page of a topic, "qrc:/help/..."; empty when no page has that name.
// Blanks around the name do not count.
QString helpPageOf(const QString& topic);
// Every topic with its page, in the order of the contents.
QStringList helpTopics();

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Upute";

  explicit HelpWindow(QWidget* parent = nullptr);

  // False, and the page left as it was, for an unknown topic.
  bool showTopic(const QString& topic);
  void showSearch();
  // The titles of the pages holding `words`, listed for choosing.
  QStringList search(const QString& words);

  QTextBrowser* browser() const { return browser_; }
  QLineEdit* searchField() const { return searchField_; }
  QListWidget* results() const { return results_; }

 private:
  QTextBrowser* browser_;
  QLineEdit* searchField_;
  QListWidget* results_;
};

}  // namespace kdm
