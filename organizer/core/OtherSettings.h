#pragma once
// Rules of the other-settings dialog: the one row of sz_qtcsb as the dialog shows it
// (hourly chime, chime voice, memo and festival sounds, their play count), the texts it
// stores, the checks that run before anything is written, and the autostart entry of the
// current user.

#include <string>
#include <string_view>

class Tdbhouse;

// Chime voice choices: the radio buttons rb1, rb2, rb3.
enum class TChimeVoice { Hours12, Hours24, None };

struct TOtherSettings {
  bool Autostart = false;            // kjqy other than "0"
  bool OnHour = false, OnHalfHour = false;
  TChimeVoice Voice = TChimeVoice::None;
  std::string ChimePrelude;          // bsqzypath, shown only
  bool MemoSound = false;
  std::string MemoSoundPath;         // bwlqzypath
  bool FestivalSound = false;
  std::string FestivalSoundPath;     // jrqzypath
  std::string PlayCount;             // bwjrbfcs as the combo box shows it
};

// bspl: "2" both, "1" on the hour only, "0" on the half hour only, "3" neither.
std::string ChimeFrequencyText(bool onHour, bool onHalfHour);
void ReadChimeFrequency(std::string_view bspl, bool& onHour, bool& onHalfHour);   // other texts: neither
// bsfs: "0" 12-hour speech, "1" 24-hour speech, "2" none; any other stored text reads as none.
std::string ChimeVoiceText(TChimeVoice voice);
TChimeVoice ReadChimeVoice(std::string_view bsfs);

// The row as the dialog shows it; raises EConvertError when it is missing.
TOtherSettings ReadOtherSettingsRow(Tdbhouse& db);

enum class TOtherSettingsField { None, MemoSound, FestivalSound, PlayCount };
struct TOtherSettingsCheck {
  TOtherSettingsField Field = TOtherSettingsField::None;
  std::string Message;
};
// The play counts the reminders use; any other is refused with PlayCountRangeText.
constexpr int MinPlayCount = 1, MaxPlayCount = 3;
constexpr const char* PlayCountRangeText = "播放次数只能是1、2或3！";
// The first field that stops a save: a ticked sound without its path, a play count that
// is empty, not a whole number of digits or not one of 1, 2, 3.
TOtherSettingsCheck CheckOtherSettings(const TOtherSettings& s);
// Writes bspl, bsfs, the two sound paths (empty when unticked) and the play count, then
// reloads the running settings from the row. Raises EConvertError for settings that do
// not pass CheckOtherSettings, before writing anything.
void WriteOtherSettingsRow(Tdbhouse& db, const TOtherSettings& s);

// Keys the play-count box lets through: the digits and backspace.
bool IsPlayCountKey(wchar_t key);

// The autostart value: under HKEY_CURRENT_USER, key AutostartRunKey, string value
// AutostartValueName holding the quoted full path of the executable.
constexpr const char* AutostartRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* AutostartValueName = "vorpen";
std::string AutostartCommand(std::string_view exePath);
