#include "app/my_numbers_dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/csv_save_win.h"
#include "app/list_view_win.h"
#include "app/my_numbers_controls_win.h"
#include "base/unicode_win.h"
#include "resources/check_strings.h"
#include "resources/my_numbers_strings.h"
#include "resources/options_strings.h"
#include "settings/dialog_template_win.h"
#include "settings/dialog_window_win.h"
#include "store/csv_line.h"
#include "store/draw_table.h"
#include "store/my_numbers_edit.h"
#include "store/my_wins_refresh.h"

namespace norv {

using namespace mynumbers;

namespace {

constexpr WORD kFontPoints = 9;
constexpr std::array kLinesControls{GameLabel,     GameCombo,     LinesListView,     NumbersLabel, NumbersEdit, WayLabel,
                                    WayCombo,      FirstDrawLabel, FirstDrawEdit, LastDrawLabel, LastDrawEdit,
                                    MemoLabel,     MemoEdit,      EntryHint,     AddButton,    ChangeButton,
                                    DeleteButton,  MessageText};
constexpr std::array kWinsControls{WinsListView, TotalText, ExportButton};
// The way combo's items; the first, empty, is a lotto line's.
constexpr std::array<BuyWay, 5> kWays{BuyWay::None, BuyWay::Straight, BuyWay::Box, BuyWay::Set, BuyWay::Mini};

// The four tables, held against the checker's rewrites while in use; none
// when a check is rewriting any of them.
class HeldTables {
 public:
  HeldTables() {
    for (Game game : kAllGames) {
      const auto i = static_cast<std::size_t>(GameIndex(game));
      taken_[i] = GameDataOf(game).TryTakeBusy();
      tables_[i] = &GameDataOf(game).table;
      all_ = all_ && taken_[i];
    }
  }
  ~HeldTables() {
    for (Game game : kAllGames) {
      if (taken_[static_cast<std::size_t>(GameIndex(game))]) GameDataOf(game).ReleaseBusy();
    }
  }
  HeldTables(const HeldTables&) = delete;
  HeldTables& operator=(const HeldTables&) = delete;

  const TablesByGame* Get() const { return all_ ? &tables_ : nullptr; }

 private:
  TablesByGame tables_{};
  std::array<bool, 4> taken_{};
  bool all_ = true;
};

std::vector<std::string> LineRow(const MyNumbersEntry& entry) {
  if (!entry.line) {
    std::string state = std::to_string(entry.lineNumber);
    state.append(text::kLineNumberSuffix).append(LineFaultText(entry.fault));
    return {entry.text, "", "", "", "", state};
  }
  const LineFields fields = FieldsOf(*entry.line);
  return {fields.numbers, fields.way, fields.firstDraw, fields.lastDraw, fields.memo, ""};
}

std::vector<std::string> WinRow(const MyWin& win, bool unseen) {
  return {std::string(unseen ? text::kNewWin : ""), std::string(GameName(win.game)), std::to_string(win.draw),
          win.numbers, std::string(WayText(win.way)), WinClassText(win.winClass), PrizeText(win.prize)};
}

std::string TotalLine(const WinsList& list) {
  std::string total(text::kTotalPrefix);
  total.append(std::to_string(list.wins.size())).append(text::kWinCountSuffix).append("  ");
  return total.append(std::to_string(list.total)).append(text::kYen);
}

class MyNumbersDialog : public DialogWindow {
 public:
  explicit MyNumbersDialog(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}

  HWND Create(HWND owner) { return CreateFromTemplate(Layout(), owner); }
  void ShowPage(int page);
  void StepPage();

 private:
  static DialogTemplate Layout();
  static void AddLinesPage(DialogTemplate& frame);
  void OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  void OnDestroyed() override;

  void LoadLines();
  void FillLines();
  void FillEntry(std::size_t index);
  void GameChanged();
  Game SelectedGame() const;
  std::optional<std::size_t> SelectedEntry() const;
  std::optional<MyLine> EnteredLine();
  void AddClick();
  void ChangeClick();
  void DeleteClick();
  void Save(MyNumbers changed);
  void FillWins();
  void ExportClick();
  void ShowMessage(std::string_view message) { SetItemText(MessageText, message); }

  std::string dataFolder_;
  MyNumbers numbers_;
  bool linesReadable_ = true;
  bool winsStale_ = false;  // the lines changed while the draws were being rewritten
  std::vector<std::size_t> listed_;
  std::vector<MyWin> wins_;
};

std::unique_ptr<MyNumbersDialog>& OpenDialog() {
  static std::unique_ptr<MyNumbersDialog> dialog;
  return dialog;
}

// The tab control comes last: it lies under the pages' controls, and the
// dialog's order of controls is also its order on the screen.
DialogTemplate MyNumbersDialog::Layout() {
  DialogTemplate frame(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_CLIPCHILDREN,
                       {0, 0, 340, 252}, text::kDialogCaption, text::kOptionsFont, kFontPoints);
  AddLinesPage(frame);
  frame.AddControl(WC_LISTVIEWW, WinsListView, "", {14, 26, 312, 168},
                   WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  frame.AddLabel(TotalText, "", {14, 202, 220, 10});
  frame.AddButton(ExportButton, text::kExportButton, {256, 199, 70, 14});
  frame.AddButton(CloseButton, text::kCloseButton, {284, 232, 50, 14});
  frame.AddControl(WC_TABCONTROLW, PageTabs, "", {6, 6, 328, 220}, WS_TABSTOP | WS_CLIPSIBLINGS);
  return frame;
}

void MyNumbersDialog::AddLinesPage(DialogTemplate& frame) {
  frame.AddLabel(GameLabel, text::kGameLabel, {14, 26, 40, 10});
  frame.AddDropDownList(GameCombo, {56, 24, 80, 80});
  frame.AddControl(WC_LISTVIEWW, LinesListView, "", {14, 42, 312, 88},
                   WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  frame.AddLabel(NumbersLabel, text::kNumbersLabel, {14, 138, 40, 10});
  frame.AddEdit(NumbersEdit, {56, 136, 110, 12});
  frame.AddLabel(WayLabel, text::kWayLabel, {176, 138, 40, 10});
  frame.AddDropDownList(WayCombo, {218, 136, 80, 80});
  frame.AddLabel(FirstDrawLabel, text::kFirstDrawLabel, {14, 154, 40, 10});
  frame.AddEdit(FirstDrawEdit, {56, 152, 40, 12});
  frame.AddLabel(LastDrawLabel, text::kLastDrawLabel, {106, 154, 40, 10});
  frame.AddEdit(LastDrawEdit, {148, 152, 40, 12});
  frame.AddLabel(MemoLabel, text::kMemoLabel, {14, 170, 40, 10});
  frame.AddEdit(MemoEdit, {56, 168, 242, 12});
  frame.AddLabel(EntryHint, text::kNumbersHint, {14, 184, 312, 10});
  frame.AddButton(AddButton, text::kAddButton, {14, 199, 50, 14});
  frame.AddButton(ChangeButton, text::kChangeButton, {68, 199, 50, 14});
  frame.AddButton(DeleteButton, text::kDeleteButton, {122, 199, 50, 14});
  frame.AddLabel(MessageText, "", {178, 197, 148, 24});
}

void MyNumbersDialog::OnInitDialog() {
  const HWND tabs = Item(PageTabs);
  for (std::string_view caption : {text::kTabLines, text::kTabWins}) {
    std::wstring wide = Widen(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    ::SendMessageW(tabs, TCM_INSERTITEMW, ::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
  }
  ::SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const ListColumn lineColumns[] = {{text::kColumnNumbers, 90}, {text::kColumnWay, 44}, {text::kColumnFirstDraw, 34},
                                    {text::kColumnLastDraw, 34}, {text::kColumnMemo, 50}, {text::kColumnState, 120}};
  SetListColumns(Item(LinesListView), Handle(), lineColumns);
  const ListColumn winColumns[] = {{text::kNewWin, 22},      {text::kColumnGame, 44},   {text::kColumnDraw, 28},
                                   {text::kColumnNumbers, 72}, {text::kColumnWay, 40}, {text::kColumnClass, 56},
                                   {text::kColumnPrize, 50}};
  SetListColumns(Item(WinsListView), Handle(), winColumns);
  for (Game game : kAllGames) {
    const std::string_view name = GameName(game);
    AddItems(GameCombo, std::span(&name, 1));
  }
  for (BuyWay way : kWays) {
    const std::string_view name = WayText(way);
    AddItems(WayCombo, std::span(&name, 1));
  }
  Select(GameCombo, 0);
  LoadLines();
  GameChanged();
}

void MyNumbersDialog::OnCommand(int id, int code) {
  if (id == GameCombo && code == CBN_SELCHANGE) return GameChanged();
  if (code != BN_CLICKED) return;
  switch (id) {
    case AddButton: return AddClick();
    case ChangeButton: return ChangeClick();
    case DeleteButton: return DeleteClick();
    case ExportButton: return ExportClick();
    case CloseButton: {
      if (winsStale_) Save(numbers_);
      ::DestroyWindow(Handle());
      return;
    }
    default: return;
  }
}

void MyNumbersDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom == static_cast<UINT_PTR>(PageTabs) && header.code == TCN_SELCHANGE) {
    ShowPage(static_cast<int>(::SendMessageW(Item(PageTabs), TCM_GETCURSEL, 0, 0)));
  } else if (header.idFrom == static_cast<UINT_PTR>(LinesListView) && header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && change.iItem >= 0 &&
        static_cast<std::size_t>(change.iItem) < listed_.size()) {
      FillEntry(listed_[static_cast<std::size_t>(change.iItem)]);
    }
  }
}

void MyNumbersDialog::OnDestroyed() { OpenDialog().reset(); }

void MyNumbersDialog::ShowPage(int page) {
  ::SendMessageW(Item(PageTabs), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (int id : kLinesControls) ShowItem(id, page == LinesPage);
  for (int id : kWinsControls) ShowItem(id, page == WinsPage);
  if (page == WinsPage) FillWins();
}

void MyNumbersDialog::StepPage() {
  ShowPage(static_cast<int>(::SendMessageW(Item(PageTabs), TCM_GETCURSEL, 0, 0)) == LinesPage ? WinsPage : LinesPage);
}

// A file that is there but cannot be read is never written over: its lines
// are shown as nothing and no change is taken.
void MyNumbersDialog::LoadLines() {
  const std::optional<MyNumbers> read = ReadMyNumbers(dataFolder_);
  linesReadable_ = read.has_value();
  numbers_ = read.value_or(MyNumbers{});
  for (int id : {AddButton, ChangeButton, DeleteButton}) EnableItem(id, linesReadable_);
  if (!linesReadable_) ShowMessage(text::kLinesNotRead);
}

void MyNumbersDialog::FillLines() {
  listed_ = EntriesListed(numbers_, SelectedGame());
  std::vector<std::vector<std::string>> rows;
  for (std::size_t index : listed_) rows.push_back(LineRow(numbers_.entries[index]));
  SetListRows(Item(LinesListView), rows);
}

// An unreadable line comes back into the fields as it stands, to be put right.
void MyNumbersDialog::FillEntry(std::size_t index) {
  const MyNumbersEntry& entry = numbers_.entries[index];
  LineEntry fields;
  if (entry.line) {
    fields = EntryOf(*entry.line);
  } else if (const std::vector<std::string> columns = SplitCsvLine(entry.text); columns.size() == 6) {
    fields = {SelectedGame(), columns[1], columns[2], columns[3], columns[4], columns[5]};
  }
  SetItemText(NumbersEdit, fields.numbers);
  Select(WayCombo, 0);
  for (std::size_t i = 0; i < kWays.size(); ++i) {
    if (WayText(kWays[i]) == fields.way) Select(WayCombo, static_cast<int>(i));
  }
  SetItemText(FirstDrawEdit, fields.firstDraw);
  SetItemText(LastDrawEdit, fields.lastDraw);
  SetItemText(MemoEdit, fields.memo);
  ShowMessage("");
}

void MyNumbersDialog::GameChanged() {
  const bool lotto = SelectedGame() == Game::Loto6 || SelectedGame() == Game::MiniLoto;
  EnableItem(WayCombo, !lotto);
  Select(WayCombo, lotto ? 0 : 1);
  FillLines();
}

Game SelectedGameAt(int index) { return kAllGames[static_cast<std::size_t>(index < 0 ? 0 : index % 4)]; }

Game MyNumbersDialog::SelectedGame() const { return SelectedGameAt(Selection(GameCombo)); }

std::optional<std::size_t> MyNumbersDialog::SelectedEntry() const {
  const int row = SelectedListRow(Item(LinesListView));
  if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) return std::nullopt;
  return listed_[static_cast<std::size_t>(row)];
}

// The fields as a line, or nothing with the broken rule shown.
std::optional<MyLine> MyNumbersDialog::EnteredLine() {
  const LineEntry entry{SelectedGame(), ItemText(NumbersEdit), ItemText(WayCombo),
                        ItemText(FirstDrawEdit), ItemText(LastDrawEdit), ItemText(MemoEdit)};
  const LineReading reading = CheckEntry(entry);
  if (const LineFault* fault = std::get_if<LineFault>(&reading)) {
    ShowMessage(std::string(text::kRefused).append(LineFaultText(*fault)));
    ::MessageBeep(MB_ICONWARNING);
    return std::nullopt;
  }
  return std::get<MyLine>(reading);
}

void MyNumbersDialog::AddClick() {
  const std::optional<MyLine> line = EnteredLine();
  if (!line) return;
  MyNumbers changed = numbers_;
  AddLine(changed, *line);
  Save(std::move(changed));
}

void MyNumbersDialog::ChangeClick() {
  const std::optional<std::size_t> index = SelectedEntry();
  if (!index) return ShowMessage(text::kNoLineSelected);
  const std::optional<MyLine> line = EnteredLine();
  if (!line) return;
  MyNumbers changed = numbers_;
  ReplaceLine(changed, *index, *line);
  Save(std::move(changed));
}

void MyNumbersDialog::DeleteClick() {
  const std::optional<std::size_t> index = SelectedEntry();
  if (!index) return ShowMessage(text::kNoLineSelected);
  MyNumbers changed = numbers_;
  RemoveLine(changed, *index);
  Save(std::move(changed));
}

// The change is kept only once the lines file holds it.
void MyNumbersDialog::Save(MyNumbers changed) {
  SaveOutcome outcome;
  {
    const HeldTables held;
    outcome = SaveLines(changed, dataFolder_, held.Get());
  }
  if (outcome == SaveOutcome::LinesNotWritten) return ShowMessage(text::kLinesNotWritten);
  numbers_ = std::move(changed);
  winsStale_ = outcome == SaveOutcome::WinsNotWritten;
  FillLines();
  ShowMessage(winsStale_ ? text::kWinsNotWritten : "");
}

// Shown wins are seen: the newest draws held are recorded, so that only a
// later draw's win is marked new again.
void MyNumbersDialog::FillWins() {
  if (winsStale_) Save(numbers_);
  const HeldTables held;
  if (!held.Get()) {
    SetListRows(Item(WinsListView), {});
    wins_.clear();
    return SetItemText(TotalText, text::kDrawsBusy);
  }
  const std::optional<DrawsByGame> seen = ReadSeenDraws(dataFolder_);
  const WinsList list = ListWins(numbers_, *held.Get(), seen);
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < list.wins.size(); ++i) rows.push_back(WinRow(list.wins[i], list.unseen[i]));
  SetListRows(Item(WinsListView), rows);
  SetItemText(TotalText, TotalLine(list));
  wins_ = list.wins;
  // Someone with no wins and no record yet gets no file.
  const DrawsByGame newest = NewestDraws(*held.Get());
  if (seen != newest && (seen || !list.wins.empty())) WriteSeenDraws(newest, dataFolder_);
}

void MyNumbersDialog::ExportClick() {
  std::string title(text::kWinsExportTitle);
  title.append(text::kCsvDialogTitleSuffix);
  const std::optional<std::wstring> path = AskCsvPath(Handle(), title, text::kWinsExportFileName);
  if (path) ExportMyWinsCsv(wins_, *path);
}

bool IsCtrlTab(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

HWND OpenMyNumbersDialog(HWND owner, const std::string& dataFolder, int page) {
  auto& dialog = OpenDialog();
  if (dialog) {
    ::SetForegroundWindow(dialog->Handle());
    return dialog->Handle();
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  dialog = std::make_unique<MyNumbersDialog>(dataFolder);
  if (!dialog->Create(owner)) {
    dialog.reset();
    return nullptr;
  }
  dialog->ShowPage(page);
  ::ShowWindow(dialog->Handle(), SW_SHOW);
  ::SetForegroundWindow(dialog->Handle());
  return dialog->Handle();
}

bool RouteMyNumbersDialogMessage(MSG& message) {
  const auto& dialog = OpenDialog();
  if (!dialog || !dialog->Handle()) return false;
  const HWND frame = dialog->Handle();
  if (message.hwnd != frame && !::IsChild(frame, message.hwnd)) return false;
  if (IsCtrlTab(message)) {
    dialog->StepPage();
    return true;
  }
  return ::IsDialogMessageW(frame, &message) != FALSE;
}

}  // namespace norv
