#include "app/core/Startup.h"

#include <algorithm>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "calendar/core/LunarDate.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/DbDates.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr std::string_view DayUnit = "天";

TADOQuery& Use(TADOQuery* query, const char* sql)
{
    query->Close();
    query->SQL.Clear();
    query->SQL.Add(sql);
    return *query;
}

// Opens the select of a one-row settings table. A missing row raises rather than reading
// as empty texts, so the step keeps what it had (an empty sz_sfxsb would hide the clock).
TADOQuery& OpenOneRow(TADOQuery* query, const char* sql, const char* table)
{
    TADOQuery& q = Use(query, sql);
    q.Open();
    if (q.IsEmpty()) {
        q.Close();
        throw EDatabaseError(std::string(table) + " has no row");
    }
    return q;
}

bool IsAbsolutePath(std::string_view path)
{
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() > 1 && path[1] == ':');
}

// "MM-DD" (also without leading zeros) into month and day.
bool ReadMonthDay(std::string_view text, int& month, int& day)
{
    size_t dash = text.find('-');
    return dash != std::string_view::npos && TryStrToInt(text.substr(0, dash), month) &&
           TryStrToInt(text.substr(dash + 1), day);
}

bool IsLunarDay(TDateTime date, int month, int day)
{
    int y, m, d, lunarYear, lunarMonth, lunarDay;
    bool leap;
    DecodeDate(date, y, m, d);
    return SolarToLunar(y, m, d, leap, lunarDay, lunarMonth, lunarYear) && !leap && lunarMonth == month &&
           lunarDay == day;
}

// The lunar date found from the first of its month, so that a day 30 whose solar twin
// does not exist (February 30) still converts and one the month lacks takes day 29.
bool LunarMonthDate(int year, int month, int day, TDateTime& date)
{
    int sd, sm, sy;
    if (!LunarToSolar(year, month, 1, false, sd, sm, sy))
        return false;
    TDateTime first = EncodeDate(sy, sm, sd);
    date = first + (day - 1);
    if (day == 30 && !IsLunarDay(date, month, day))
        date = first + 28;
    return true;
}

// A lunar month and day of the lunar year `year` as a solar date.
bool LunarYearDate(int year, int month, int day, TDateTime& date)
{
    int sd, sm, sy;
    if (LunarToSolar(year, month, day, false, sd, sm, sy))
        return TryEncodeDate(sy, sm, sd, date);
    return LunarMonthDate(year, month, day, date);
}

}  // namespace

//--- Settings

void LoadSoundPaths()
{
    static const char* const speech[24] = {"0.wav",  "1.wav", "2.wav",  "3.wav",  "4.wav",   "5.wav",
                                           "6.wav",  "7.wav", "8.wav",  "9.wav",  "10.wav",  "11.wav",
                                           "12.wav", "d.wav", "m.wav",  "T.wav",  "TA.wav",  "TAA.wav",
                                           "Tp.wav", "Tpp.wav", "30.wav", "20.wav", "40.wav", "50.wav"};
    std::string folder = ExeFolder() + "Sounds" + PathDelim + "speech" + PathDelim;
    for (size_t i = 0; i < SpeechWavPaths.size(); ++i)
        SpeechWavPaths[i] = folder + speech[i];
    folder = ExeFolder() + "Sounds" + PathDelim + "Clock" + PathDelim;
    AltsWavPath = folder + "alts.wav";
    AlldayWavPath = folder + "allday.wav";
    CWavPath = folder + "c.wav";
    DoorbellWavPath = folder + "doorbell.wav";
}

std::string SoundSettingPath(TADOQuery& query, const char* column, const std::string& defaultPath)
{
    TField* field = query.FindField(column);
    if (!field || field->IsNull())
        return defaultPath;
    std::string path = field->AsString();
    if (path.empty() || IsAbsolutePath(path))
        return path;
    return ExeFolder() + path;
}

void LoadOtherSettings(Tdbhouse& db)
{
    TADOQuery& q = OpenOneRow(db.qcx, "select * from sz_qtcsb ", "sz_qtcsb");
    ChimeFrequency = q.FieldByName("bspl").AsString();
    ChimeMode = q.FieldByName("bsfs").AsString();
    int count;
    if (TryStrToInt(q.FieldByName("bwjrbfcs").AsString(), count))
        ReminderPlayCount = std::clamp(count, 1, 3);
    AltsWavPath = SoundSettingPath(q, "bwlqzypath", AltsWavPath);
    AlldayWavPath = SoundSettingPath(q, "jrqzypath", AlldayWavPath);
    q.Close();
}

TShownFlags LoadShownFlags(Tdbhouse& db)
{
    TADOQuery& q = OpenOneRow(db.qxsf, "select * from sz_sfxsb ", "sz_sfxsb");
    TShownFlags flags{q.FieldByName("szxsf").AsString(), q.FieldByName("rlxsf").AsString(),
                      q.FieldByName("bwlxsf").AsString(), q.FieldByName("bqxsf").AsString(),
                      q.FieldByName("djsxsf").AsString()};
    q.Close();
    return flags;
}

bool ClockSavedHidden(const std::string& exeFolder)
{
    try {
        TADOConnection cnn(nullptr);
        cnn.SetLoginPrompt(false);
        cnn.SetConnectionString(DataConnectionString(exeFolder));
        cnn.Open();
        TADOQuery q(nullptr);
        q.SetConnection(&cnn);
        q.SQL.Add("select szxsf from sz_sfxsb");
        q.Open();
        return !q.Eof() && q.FieldByName("szxsf").AsString() == "0";
    } catch (const std::exception&) {
        return false;
    }
}

//--- Festivals

namespace {

bool FestivalDateIn(std::string_view rqlx, std::string_view realyr, int year, TDateTime& date, TDateTime today)
{
    int month, day;
    if (!ReadMonthDay(realyr, month, day))
        return false;
    if (rqlx == "阳历") {
        if (month == 2 && day == 29 && !IsLeapYear(year))
            day = 28;
        return TryEncodeDate(year, month, day, date);
    }
    if (month < 1 || month > 12 || day < 1 || day > 30)
        return false;
    if (!LunarYearDate(year, month, day, date))
        return false;
    // A day late in the lunar year may lie in the next solar year: this solar year's
    // occurrence then belongs to the lunar year before. When both lie in this solar year,
    // the January one counts until it has passed.
    TDateTime previous;
    if (LunarYearDate(year - 1, month, day, previous) && YearOf(previous) == year &&
        (YearOf(date) > year || (today > 0 && DateOf(today) <= previous)))
        date = previous;
    return true;
}

}  // namespace

bool FestivalDate(std::string_view rqlx, std::string_view realyr, int year, TDateTime& date, TDateTime today)
{
    if (!FestivalDateIn(rqlx, realyr, year, date, today))
        return false;
    // Late in the year the look-ahead already needs next year's date.
    TDateTime next;
    if (today > 0 && date < DateOf(today) && FestivalDateIn(rqlx, realyr, year + 1, next, today) &&
        next - DateOf(today) <= FestivalLookAheadDays)
        date = next;
    return true;
}

int RefreshFestivalDates(Tdbhouse& db, int year, TDateTime today)
{
    struct TChange {
        int32_t Iid;
        TDateTime Date;
        bool Moved;
    };
    int skipped = 0;
    std::vector<TChange> changes;
    TADOQuery& q =
        Use(db.qcx, "select iid,rqlx,realyr,realrq,cast(realrq as text) as stored from sz_jrb order by iid ");
    q.Open();
    const TField &iid = q.FieldByName("iid"), &rqlx = q.FieldByName("rqlx"), &realyr = q.FieldByName("realyr"),
                 &realrq = q.FieldByName("realrq"), &stored = q.FieldByName("stored");
    for (q.First(); !q.Eof(); q.Next()) {
        try {
            TDateTime date;
            if (!FestivalDate(rqlx.AsString(), realyr.AsString(), year, date, today)) {
                ++skipped;
                continue;
            }
            // A festival moved to a new date is reminded again, though confirmed for the old one.
            // A row that already holds the date as the data file writes it is left alone.
            TDateTime old = 0;
            const bool moved = !TryStrToDateTime(realrq.AsString(), old) || DateOf(old) != date;
            if (moved || stored.IsNull() || stored.AsString() != DateToStorage(date))
                changes.push_back({iid.AsInteger(), date, moved});
        } catch (const std::exception&) {
            ++skipped;
        }
    }
    q.Close();
    if (changes.empty())
        return skipped;
    TTransactionScope transaction(*db.democnn);
    for (const TChange& change : changes) {
        try {
            TADOQuery& up = Use(db.qup, change.Moved ? "update sz_jrb set realrq= :realrq, qrbz= '0' where iid= :iid "
                                                     : "update sz_jrb set realrq= :realrq where iid= :iid ");
            up.Parameters.ParamByName("realrq").Value = change.Date;
            up.Parameters.ParamByName("iid").Value = change.Iid;
            up.ExecSQL();
        } catch (const std::exception&) {
            ++skipped;
        }
    }
    transaction.Commit();
    return skipped;
}

bool RefreshFestivalDatesOnNewDay(Tdbhouse& db, TDateTime today, TDateTime& refreshedDay)
{
    if (DateOf(today) == refreshedDay)
        return false;
    RefreshFestivalDates(db, YearOf(today), today);
    refreshedDay = DateOf(today);
    return true;
}

//--- Window positions

TPositionsRead LoadWindowPositions(Tdbhouse& db)
{
    static_assert(std::tuple_size_v<TPositionsRead> == std::tuple_size_v<decltype(PositionKeys)>);
    TPositionsRead read{};
    for (size_t i = 0; i < PositionKeys.size(); ++i) {
        const TPositionKey& key = PositionKeys[i];
        try {
            TADOQuery& q = Use(i < 2 ? db.qsz : db.qcx, "select * from sz_fzb where bz= :bz ");
            q.Parameters.ParamByName("bz").Value = key.Key;
            q.Open();
            if (!q.IsEmpty()) {
                int x = q.FieldByName("xz").AsInteger();
                int y = q.FieldByName("yz").AsInteger();
                *key.X = x;
                *key.Y = y;
                read[i] = true;
            }
        } catch (const std::exception&) {
            // The window keeps its position.
        }
    }
    return read;
}

void SaveWindowPositions(Tdbhouse& db, const TPositionsRead& read)
{
    for (size_t i = 0; i < PositionKeys.size(); ++i) {
        if (!read[i])
            continue;
        const TPositionKey& key = PositionKeys[i];
        try {
            TADOQuery& q = Use(db.qsz, "update sz_fzb set xz= :xz,yz= :yz where bz= :bz ");
            q.Parameters.ParamByName("xz").Value = *key.X;
            q.Parameters.ParamByName("yz").Value = *key.Y;
            q.Parameters.ParamByName("bz").Value = key.Key;
            q.ExecSQL();
        } catch (const std::exception&) {
            // Nothing to tell at close; the other keys are still written.
        }
    }
}

//--- Purge

bool KeepDays(std::string_view gqzdsc, int& days)
{
    if (!gqzdsc.ends_with(DayUnit))
        return false;
    std::string_view number = gqzdsc.substr(0, gqzdsc.size() - DayUnit.size());
    int value;
    if (number.empty() || !TryStrToInt(number, value) || value < 0)
        return false;
    days = value;
    return true;
}

bool MemoExpired(std::string_view ylsj, std::string_view gqzdsc, TDateTime today)
{
    int days;
    if (!KeepDays(gqzdsc, days))
        throw EConvertError("'" + std::string(gqzdsc) + "' is not a keep period");
    TDateTime due = DateOf(StrToDateTime(ylsj));
    return days > 0 && DateOf(today) - due > days;
}

int PurgeRemindedMemos(Tdbhouse& db, TDateTime today)
{
    int skipped = 0;
    std::vector<int32_t> expired;
    // A memo kept "0天" never expires: only the others are read ("+qrbz": through their index).
    TADOQuery& q = Use(db.qcx, "select iid,ylsj,gqzdsc from sz_bwlb where gqzdsc <> '0天' and +qrbz= :qrbz ");
    q.Parameters.ParamByName("qrbz").Value = "1";
    q.Open();
    const TField &iid = q.FieldByName("iid"), &ylsj = q.FieldByName("ylsj"), &gqzdsc = q.FieldByName("gqzdsc");
    for (q.First(); !q.Eof(); q.Next()) {
        try {
            if (MemoExpired(ylsj.AsString(), gqzdsc.AsString(), today))
                expired.push_back(iid.AsInteger());
        } catch (const std::exception&) {
            ++skipped;
        }
    }
    q.Close();
    if (!expired.empty()) {
        TTransactionScope transaction(*db.democnn);
        for (int32_t key : expired) {
            try {
                TADOQuery& del = Use(db.qgx, "delete from sz_bwlb where iid= :iid ");
                del.Parameters.ParamByName("iid").Value = key;
                del.ExecSQL();
            } catch (const std::exception&) {
                ++skipped;
            }
        }
        transaction.Commit();
    }
    db.qsz->Close();
    return skipped;
}
