#include "organizer/core/OtherSettings.h"

#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

std::string ChimeFrequencyText(bool onHour, bool onHalfHour) {
  if (onHour && onHalfHour)
    return "2";
  if (onHour)
    return "1";
  return onHalfHour ? "0" : "3";
}

void ReadChimeFrequency(std::string_view bspl, bool& onHour, bool& onHalfHour) {
  onHour = bspl == "1" || bspl == "2";
  onHalfHour = bspl == "0" || bspl == "2";
}

std::string ChimeVoiceText(TChimeVoice voice) {
  switch (voice) {
  case TChimeVoice::Hours12: return "0";
  case TChimeVoice::Hours24: return "1";
  case TChimeVoice::None: break;
  }
  return "2";
}

TChimeVoice ReadChimeVoice(std::string_view bsfs) {
  if (bsfs == "0")
    return TChimeVoice::Hours12;
  if (bsfs == "1")
    return TChimeVoice::Hours24;
  return TChimeVoice::None;
}

TOtherSettings ReadOtherSettingsRow(Tdbhouse& db) {
  TADOQuery& q = *db.qcx;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("select * from sz_qtcsb ");
  q.Open();
  if (q.IsEmpty()) {
    q.Close();
    throw EConvertError("sz_qtcsb has no row");
  }
  TOtherSettings s;
  s.Autostart = q.FieldByName("kjqy").AsString() != "0";
  ReadChimeFrequency(q.FieldByName("bspl").AsString(), s.OnHour, s.OnHalfHour);
  s.Voice = ReadChimeVoice(q.FieldByName("bsfs").AsString());
  s.ChimePrelude = q.FieldByName("bsqzypath").AsString();
  s.MemoSoundPath = q.FieldByName("bwlqzypath").AsString();
  s.MemoSound = !s.MemoSoundPath.empty();
  s.FestivalSoundPath = q.FieldByName("jrqzypath").AsString();
  s.FestivalSound = !s.FestivalSoundPath.empty();
  int count;
  s.PlayCount = TryStrToInt(q.FieldByName("bwjrbfcs").AsString(), count) ? IntToStr(count) : "";
  q.Close();
  return s;
}

TOtherSettingsCheck CheckOtherSettings(const TOtherSettings& s) {
  if (s.MemoSound && s.MemoSoundPath.empty())
    return {TOtherSettingsField::MemoSound, "备忘备播放音乐不能为空！"};
  if (s.FestivalSound && s.FestivalSoundPath.empty())
    return {TOtherSettingsField::FestivalSound, "节日播放音乐不能为空！"};
  if (s.PlayCount.empty())
    return {TOtherSettingsField::PlayCount, "播放次数不能为空！"};
  int count;
  bool digits = s.PlayCount.size() <= 9;
  for (char c : s.PlayCount) digits = digits && c >= '0' && c <= '9';
  if (!digits || !TryStrToInt(s.PlayCount, count))
    return {TOtherSettingsField::PlayCount, "播放次数只能填数字！"};
  if (count < MinPlayCount || count > MaxPlayCount)
    return {TOtherSettingsField::PlayCount, PlayCountRangeText};
  return {};
}

namespace {

void Update(TADOQuery& q, const char* sql, const char* param, const TDbValue& value) {
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(sql);
  q.Parameters.ParamByName(param).Value = value;
  q.ExecSQL();
}

}  // namespace

void WriteOtherSettingsRow(Tdbhouse& db, const TOtherSettings& s) {
  const TOtherSettingsCheck check = CheckOtherSettings(s);
  if (check.Field != TOtherSettingsField::None)
    throw EConvertError(check.Message);
  TADOQuery& q = *db.qup;
  Update(q, "update sz_qtcsb set bspl= :bspl ", "bspl", ChimeFrequencyText(s.OnHour, s.OnHalfHour));
  Update(q, "update sz_qtcsb set bsfs= :bsfs ", "bsfs", ChimeVoiceText(s.Voice));
  Update(q, "update sz_qtcsb set bwlqzypath= :bwlqzypath ", "bwlqzypath", s.MemoSound ? s.MemoSoundPath : "");
  Update(q, "update sz_qtcsb set jrqzypath= :jrqzypath ", "jrqzypath", s.FestivalSound ? s.FestivalSoundPath : "");
  Update(q, "update sz_qtcsb set bwjrbfcs= :bwjrbfcs ", "bwjrbfcs", StrToInt(s.PlayCount));
  LoadOtherSettings(db);
}

bool IsPlayCountKey(wchar_t key) { return (key >= L'0' && key <= L'9') || key == L'\b'; }

std::string AutostartCommand(std::string_view exePath) { return "\"" + std::string(exePath) + "\""; }
