#!/usr/bin/env python3
"""Builds a data file holding many memos and festivals, for the benchmarks.

    make-memo-data.py <schema.sql> <out.mdb> <memos> [--festivals N] [--today yyyy-mm-dd] [--seed S]

The file starts from the shipped schema and its fixed rows, then gets <memos> memos spread
over the ten years before `today` and the year after it, as a long-time user's file looks:

- 78% day memos, never confirmed (the program never marks them), the rest minute memos,
  confirmed once their moment has passed;
- 10% repeating memos, most already moved to a date from today on, 3% of all memos due a
  few days back (the program was not running), so the first repeat pass moves them;
- a few lunar memos repeating by month or year, and a few due texts without zero padding;

and festivals up to N rows in all (1,006 by default), their realrq last year's date.
Rows come from a fixed seed, so two runs give the same file. Never commit the outputs."""
import argparse
import datetime as dt
import os
import random
import sqlite3
import sys

WEEKDAYS = ["周一", "周二", "周三", "周四", "周五", "周六", "周日"]
LUNAR_MONTHS = ["正月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"]
LUNAR_DAYS = ["初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
              "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
              "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九"]
WORDS = ["开会", "给妈妈打电话", "交房租", "看牙医", "买菜", "还书", "项目评审", "体检", "缴水电费",
         "接孩子", "同学聚会", "续保险", "更新护照", "写周报", "取快递"]


def solar_shown(day: dt.date, time: str | None) -> str:
    text = f"{day.year:04d}年{day.month:02d}月{day.day:02d}日 "
    if time:
        text += time + " "
    return text + WEEKDAYS[day.weekday()]


def memo_row(rng: random.Random, today: dt.date, index: int) -> tuple:
    minute = rng.random() >= 0.78
    roll = rng.random()
    lunar = False
    if roll < 0.03:                       # repeating, due a few days back
        day = today - dt.timedelta(days=rng.randint(1, 5))
        chts = rng.choice(["每1天", "每7天", "每1月", "每1年"])
    elif roll < 0.10:                     # repeating, already moved on
        day = today + dt.timedelta(days=rng.randint(0, 365))
        chts = rng.choice(["每1天", "每7天", "每1月", "每1年"])
        lunar = chts in ("每1月", "每1年") and rng.random() < 0.1
    elif roll < 0.13:                     # one-off, ahead
        day = today + dt.timedelta(days=rng.randint(0, 365))
        chts = "每0天"
    else:                                 # one-off, in the past ten years
        day = today - dt.timedelta(days=rng.randint(1, 3650))
        chts = "每0天"
    time = f"{rng.randint(7, 21):02d}:{rng.choice([0, 15, 30, 45]):02d}" if minute and not lunar else None
    date = day.isoformat()
    if index % 2000 == 0 and not time:
        date = f"{day.year}-{day.month}-{day.day}"   # a hand-written form without padding
    ylsj = date + (" " + time + ":00" if time else "")
    if lunar:
        xssj = rng.choice(LUNAR_MONTHS) + " " + rng.choice(LUNAR_DAYS)
    else:
        xssj = solar_shown(day, time)
    confirmed = "1" if time and day < today else "0"
    notice = f"{rng.choice([0, 0, 1, 2, 3, 7])}天"
    keep = "0天"
    text = f"{rng.choice(WORDS)} 第{index}条"
    return ("0" if lunar else "1", ylsj, day.isoformat(), text, notice, keep, chts, "", xssj,
            "1" if time else "0", confirmed)


def festival_row(rng: random.Random, today: dt.date, index: int) -> tuple:
    lunar = rng.random() < 0.4
    month, day = rng.randint(1, 12), rng.randint(1, 28)
    last_year = dt.date(today.year - 1, month, day)
    name = f"生日{index}"
    if lunar:
        return (name, "生日", "阴历", LUNAR_MONTHS[month - 1], LUNAR_DAYS[day - 1], "", "",
                LUNAR_MONTHS[month - 1] + LUNAR_DAYS[day - 1], f"{month:02d}-{day:02d}", "0",
                last_year.isoformat(), "0")
    return (name, "生日", "阳历", f"{month}月", f"{day}日", "", "", f"{month}月{day}日",
            f"{month:02d}-{day:02d}", "0", last_year.isoformat(), "0")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("schema")
    parser.add_argument("out")
    parser.add_argument("memos", type=int)
    parser.add_argument("--festivals", type=int, default=1006)
    parser.add_argument("--today", default=dt.date.today().isoformat())
    parser.add_argument("--seed", type=int, default=37)
    args = parser.parse_args()
    if args.memos < 0 or args.festivals < 0:
        parser.error("counts must not be negative")
    try:
        today = dt.date.fromisoformat(args.today)
    except ValueError:
        parser.error(f"--today {args.today!r} is not a date yyyy-mm-dd")
    with open(args.schema, encoding="utf-8") as f:
        schema = f.read()
    rng = random.Random(args.seed)
    temp = args.out + ".tmp"
    if os.path.exists(temp):
        os.remove(temp)
    db = sqlite3.connect(temp)
    try:
        db.executescript(schema)
        db.executemany("insert into sz_bwlb(yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz) "
                       "values(?,?,?,?,?,?,?,?,?,?,?)",
                       (memo_row(rng, today, i) for i in range(1, args.memos + 1)))
        shipped = db.execute("select count(*) from sz_jrb").fetchone()[0]
        db.executemany("insert into sz_jrb(jrmc,jrlx,rqlx,jryf,jrrq,qsnf,yypath,jrhyfrq,realyr,zdyf,realrq,qrbz) "
                       "values(?,?,?,?,?,?,?,?,?,?,?,?)",
                       (festival_row(rng, today, i) for i in range(1, max(0, args.festivals - shipped) + 1)))
        db.commit()
    finally:
        db.close()
    os.replace(temp, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
