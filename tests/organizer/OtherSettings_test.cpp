// The other-settings rules and what a save writes, on a private copy of the data file.
#include <gtest/gtest.h>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OtherSettings.h"
#include "tests/db/DataFileCopy.h"

TEST(OtherSettings, ChimeFrequencyTextsBothWaysAndUnknownVoicesReadAsNone) {
  const struct { bool hour, half; const char* text; } cases[] = {
    {true, true, "2"}, {true, false, "1"}, {false, true, "0"}, {false, false, "3"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ChimeFrequencyText(c.hour, c.half), c.text);
    bool hour, half;
    ReadChimeFrequency(c.text, hour, half);
    EXPECT_EQ(hour, c.hour);
    EXPECT_EQ(half, c.half);
  }
  bool hour = true, half = true;
  ReadChimeFrequency("", hour, half);
  EXPECT_FALSE(hour || half);
  for (const char* other : {"2", "", "9"}) EXPECT_EQ(ReadChimeVoice(other), TChimeVoice::None);   // "2" shows 不语音报时
}

TEST(OtherSettings, ChecksStopAtTheFirstMissingField) {
  TOtherSettings ok;
  ok.MemoSound = ok.FestivalSound = true;
  ok.MemoSoundPath = "a.wav";
  ok.FestivalSoundPath = "b.wav";
  ok.PlayCount = "2";
  EXPECT_EQ(CheckOtherSettings(ok).Field, TOtherSettingsField::None);
  const struct { void (*change)(TOtherSettings&); TOtherSettingsField field; const char* message; } cases[] = {
    {[](TOtherSettings& s) { s.MemoSoundPath.clear(); s.PlayCount.clear(); }, TOtherSettingsField::MemoSound,
         "备忘备播放音乐不能为空！"},
    {[](TOtherSettings& s) { s.FestivalSoundPath.clear(); }, TOtherSettingsField::FestivalSound, "节日播放音乐不能为空！"},
    {[](TOtherSettings& s) { s.PlayCount.clear(); }, TOtherSettingsField::PlayCount, "播放次数不能为空！"},
    {[](TOtherSettings& s) { s.PlayCount = "2x"; }, TOtherSettingsField::PlayCount, "播放次数只能填数字！"},
    {[](TOtherSettings& s) { s.PlayCount = "-1"; }, TOtherSettingsField::PlayCount, "播放次数只能填数字！"},
    {[](TOtherSettings& s) { s.PlayCount = "99999999999"; }, TOtherSettingsField::PlayCount, "播放次数只能填数字！"},
    {[](TOtherSettings& s) { s.PlayCount = "0"; }, TOtherSettingsField::PlayCount, "播放次数只能是1、2或3！"},
    {[](TOtherSettings& s) { s.PlayCount = "4"; }, TOtherSettingsField::PlayCount, "播放次数只能是1、2或3！"},
    {[](TOtherSettings& s) { s.PlayCount = "5"; }, TOtherSettingsField::PlayCount, "播放次数只能是1、2或3！"},
  };
  for (const auto& c : cases) {
    TOtherSettings s = ok;
    c.change(s);
    const TOtherSettingsCheck check = CheckOtherSettings(s);
    EXPECT_EQ(check.Field, c.field);
    EXPECT_EQ(check.Message, c.message);
  }
  for (const char* count : {"1", "3"}) {
    TOtherSettings s = ok;
    s.PlayCount = count;
    EXPECT_EQ(CheckOtherSettings(s).Field, TOtherSettingsField::None) << count;
  }
  TOtherSettings unticked = ok;   // an unticked sound needs no path
  unticked.MemoSound = unticked.FestivalSound = false;
  unticked.MemoSoundPath.clear();
  unticked.FestivalSoundPath.clear();
  EXPECT_EQ(CheckOtherSettings(unticked).Field, TOtherSettingsField::None);
}

class OtherSettingsRow : public testing::Test {
protected:
  void SetUp() override {
    db.democnn->SetConnectionString(DataConnectionString(file.Folder()));
    db.democnn->Open();
    SetExeFolder(file.Folder());
  }
  void TearDown() override { SetExeFolder(""); }
  std::string Field(const char* name) {
    TADOQuery& q = *db.qsz;
    q.Close();
    q.SQL.SetText("select * from sz_qtcsb ");
    q.Open();
    return q.FieldByName(name).AsString();
  }
  DataFileCopy file;
  Tdbhouse db{nullptr};
};

TEST_F(OtherSettingsRow, SaveWritesTheRowAndTheRunningSettingsFollow) {
  TOtherSettings s = ReadOtherSettingsRow(db);
  s.OnHour = false;
  s.Voice = TChimeVoice::None;
  s.MemoSound = false;   // the path stays in the box but is not stored
  s.FestivalSoundPath = "Sounds\\Clock\\doorbell.wav";
  s.PlayCount = "3";
  WriteOtherSettingsRow(db, s);
  EXPECT_EQ(Field("bspl") + Field("bsfs") + "|" + Field("bwlqzypath") + "|" + Field("jrqzypath") + "|" + Field("bwjrbfcs"),
              "32||Sounds\\Clock\\doorbell.wav|3");
  EXPECT_EQ(Field("kjqy"), "0");   // never written
  EXPECT_EQ(ChimeFrequency, "3");
  EXPECT_EQ(ChimeMode, "2");
  EXPECT_EQ(ReminderPlayCount, 3);
  EXPECT_EQ(AltsWavPath, "");
  EXPECT_EQ(AlldayWavPath, file.Folder() + "Sounds\\Clock\\doorbell.wav");

  s.OnHour = true;
  s.Voice = TChimeVoice::Hours12;
  WriteOtherSettingsRow(db, s);
  EXPECT_EQ(Field("bspl") + Field("bsfs"), "10");
}

TEST_F(OtherSettingsRow, SettingsThatFailTheChecksWriteNothing) {
  TOtherSettings s = ReadOtherSettingsRow(db);
  s.OnHour = false;
  s.Voice = TChimeVoice::Hours12;
  s.PlayCount = "";
  EXPECT_THROW(WriteOtherSettingsRow(db, s), EConvertError);
  EXPECT_EQ(Field("bspl") + Field("bsfs") + Field("bwjrbfcs"), "112");
}
