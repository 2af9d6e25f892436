// The Options window: Proxy Settings, Timeouts Ports and Dialup Internet Connection, bound
// to the connection settings.
#pragma once

#include <QDialog>
#include <functional>

#include "app/dialogs.h"
#include "app/langtable.h"
#include "net/connectionsettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qs {

enum class TOptionsPanel { Proxy, TimeoutsPorts, Dialup, Language };

class TOptionsForm : public QDialog {
  Q_OBJECT
 public:
  TOptionsForm(TConnectionSettings& settings, IDialogs& dialogs, QWidget* parent = nullptr);

  // What the dialog's creation reads: the time-out and ports, the dial-up boxes.
  void ReadSettings();
  // The proxy panel shows what the settings last read.
  void ShowProxyPanel();
  void OpenPanel(TOptionsPanel panel);
  void ApplyTable(const TLanguageTable& table);

  // The language panel: the choices (English, Spanish, and \lang.ini when `custom`), the
  // current one selected ("english", "spanish", "custom").
  void ShowLanguages(const std::string& current, bool custom);
  // Apply on the language panel, with the choice.
  std::function<void(const std::string& choice)> OnLanguageChosen;
  QComboBox* LanguageField() const { return language_; }

  // After Apply on the proxy panel: the clients take the new values.
  std::function<void(const TProxyValues&)> OnProxyApplied;
  // The browse button of the trusted certificates field: the file chosen, or an empty text
  // when the choice was cancelled. A file-open dialog unless replaced.
  std::function<std::string(const std::string& current)> BrowseCaFile;

  QSpinBox* TimeoutField() const { return timeout_; }
  QSpinBox* PortsField() const { return ports_; }

 private:
  QWidget* BuildProxy();
  QWidget* BuildTimeouts();
  QWidget* BuildDialup();
  QWidget* BuildLanguage();
  void ApplyProxy();

  TConnectionSettings& settings_;
  IDialogs& dialogs_;
  QTabWidget* panels_;
  QLabel *proxyTip_, *hostLabel_, *portLabel_, *userLabel_, *passwordLabel_;
  QLineEdit *host_, *port_, *user_, *password_;
  QLabel *caFileTip_, *caFileLabel_;
  QLineEdit* caFile_;
  QPushButton* browseCaFile_;
  QRadioButton *behind_, *notBehind_;
  QLabel *timeoutsTip_, *timeoutLabel_, *portsLabel_, *dialupTip_, *connectionOptions_;
  QSpinBox *timeout_, *ports_;
  QCheckBox *onDemand_, *conPrompt_, *hangUp_;
  QLabel* languageLabel_;
  QComboBox* language_;
  std::vector<QPushButton*> applyButtons_, closeButtons_;
};

}  // namespace qs
