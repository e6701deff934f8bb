// "O programu": the program's picture, its name and version, what it is
// for, and OK.
#pragma once

#include <QDialog>

namespace kdm {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "O programu";
  static constexpr const char* kTexts[] = {"KDM_2005.EXE ver. 2005.1.0.", "Priprema i dostava podataka o osiguranicima",
                                           "i plaćenim doprinosima"};

  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kdm
