// The main window: its controls at their fixed places, the event bindings, and
// the commands they run. It is the SearchView of the runs it starts. The form
// is built in main_window_form.cc, the long commands live in
// main_window_commands.cc, start-up, closing and the settings in main_window.cc.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/sliced_pump.h"
#include "app/services.h"
#include "search/run/search_run.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kx {
class ConfigStore;
class FileSink;
class KeywordStore;
class RegexMatcher;
}  // namespace kx

namespace kx::app {

class KeywordListModel;
class LinkLabel;
class ResultListView;
class SettingsAdapter;

// The process-wide objects the window works with; all must outlive it.
struct WindowContext {
  ConfigStore& settings;  // open on the settings file
  KeywordStore& store;    // opened by the window itself
  RegexMatcher& matcher;
  RunState& state;
  std::string runDir;  // folder of the letter files and the counts file (UTF-8)
  Services services;
  int pumpSliceMs = 15;  // how often long commands let events in; 0: at every keyword
};

class MainWindow : public QWidget, public SearchView {
  Q_OBJECT

 public:
  static constexpr int kOuterWidth = 681;
  static constexpr int kOuterHeight = 610;

  // Builds every control, then opens the store, reads the counts and restores
  // the last settings, all before the window is first shown.
  explicit MainWindow(const WindowContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // 开始查找: runs a search into the list, or asks the running one to stop.
  void startListSearch();
  // 开始查找并导出保存: runs a search into a chosen file, or asks it to stop.
  void startSearchExport();
  // 导出保存: writes the listed keywords to a chosen file, or asks it to stop.
  void exportList();
  // Shows in the list's column title how many keywords category and letter hold.
  void showIndexCount();
  // The keyword box is disabled exactly while 全部输出 is checked.
  void updateKeywordEnabled();
  // 保存配置: saves the settings and says whether that worked.
  void saveCommand();
  // 疑点说明: the help text in the text dialog.
  void showHelp();
  // Opens an http or https address in the browser; anything else is ignored.
  void openWebPage(const QString& address);

  // SearchView.
  MatchMode matchMode() override;
  std::string queryText() override;
  int letterPosition() override;
  int categoryPosition() override;
  void clearList() override;
  void setTimerInterval(int milliseconds) override;
  void processPendingMessages() override;
  void refreshProgress() override;

  KeywordListModel& listModel() { return *model_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildBanner();
  void buildControls();
  void bindEvents();
  void onMainWindowCreated();
  void onMainWindowClosing();
  void restoreSettings();
  // Writes the settings; returns false, with the reason in *why, when they did
  // not all reach the settings file.
  bool saveSettings(QString* why);
  void closeAllFiles();

  // Common start and end of the three long commands. A button whose caption
  // is not idleCaption belongs to a running command: stopIfRunning then
  // shows "停止中..", asks the run to stop and returns true.
  bool stopIfRunning(QPushButton* button, const QString& idleCaption);
  void beginCommand(QPushButton* running, const QString& runningCaption);
  void endCommand(QPushButton* running, const QString& idleCaption);
  // The two export commands: asks for the file, fills it through fill and
  // says how it went; a stop click or a closing window ends it early.
  void runExport(QPushButton* button, const QString& runningCaption, const QString& idleCaption, const QString& done,
                 const std::function<void(FileSink&)>& fill);
  // Opens path for an export; on failure says so and returns false.
  bool openExport(FileSink& sink, const QString& path);
  // Closes the export and shows done (+ path) or what went wrong.
  void finishExport(FileSink& sink, const QString& path, const QString& done);
  void inform(const QString& text);

  ConfigStore& settings_;
  KeywordStore& store_;
  RegexMatcher& matcher_;
  RunState& state_;
  const std::string runDir_;
  Services services_;

  KeywordListModel* model_;
  ResultListView* list_ = nullptr;
  QComboBox* categoryBox_ = nullptr;
  QComboBox* letterBox_ = nullptr;
  QLineEdit* keywordBox_ = nullptr;
  QPushButton* searchButton_ = nullptr;
  QPushButton* exportListButton_ = nullptr;
  QPushButton* searchExportButton_ = nullptr;
  QTimer* progressTimer_ = nullptr;
  // In the order the settings are saved and restored.
  std::array<QRadioButton*, 7> radios_{};
  QRadioButton* wildcardRadio_ = nullptr;
  QRadioButton* allRadio_ = nullptr;
  QRadioButton* pinyinRadio_ = nullptr;
  QRadioButton* middleRadio_ = nullptr;
  QRadioButton* rightRadio_ = nullptr;
  QRadioButton* leftRadio_ = nullptr;
  QRadioButton* regexRadio_ = nullptr;
  LinkLabel* homeLink_ = nullptr;
  LinkLabel* contactLink_ = nullptr;
  LinkLabel* moreSoftwareLink_ = nullptr;
  LinkLabel* batchToolLink_ = nullptr;

  std::unique_ptr<SettingsAdapter> settingsView_;
  SlicedPump commandPump_;
  SlicedPump settingsPump_;
  FileSink* activeExport_ = nullptr;  // the file of the running export, if any
  bool commandRunning_ = false;
  bool closeAfterCommand_ = false;  // the window was closed during a command
};

}  // namespace kx::app
