-- The data file qmkDemo.mdb: the eight tables and the fixed rows a new user starts with.
-- Texts are UTF-8; flags are the one-character texts '0'/'1'. Date columns (DATETIME)
-- hold ISO text: 'yyyy-mm-dd' or 'yyyy-mm-dd hh:nn:ss'.

-- Memos with reminders.
CREATE TABLE sz_bwlb (
  iid     INTEGER PRIMARY KEY AUTOINCREMENT,
  yybz    TEXT,
  ylsj    TEXT,
  yinlsj  TEXT,
  nr      TEXT,
  tqtsts  TEXT,
  gqzdsc  TEXT,
  chts    TEXT,
  yypath  TEXT,
  xssj    TEXT,
  fzbz    TEXT,
  qrbz    TEXT DEFAULT '0'
);

-- The memo timers read through these (the program adds them to an older file on open):
-- pending memos by due text (with their notice); repeating memos by due text; the few
-- memos whose due text does not start with a zero-padded date, which sort apart from
-- their date; and the memos kept for a limited time, which start-up's purge weighs.
CREATE INDEX IF NOT EXISTS sz_bwlb_qrbz_ylsj ON sz_bwlb (qrbz, ylsj, tqtsts);
CREATE INDEX IF NOT EXISTS sz_bwlb_repeat ON sz_bwlb (ylsj) WHERE chts <> '每0天';
CREATE INDEX IF NOT EXISTS sz_bwlb_irregular ON sz_bwlb (qrbz)
  WHERE ylsj NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*';
CREATE INDEX IF NOT EXISTS sz_bwlb_kept ON sz_bwlb (qrbz) WHERE gqzdsc <> '0天';

-- Festivals, birthdays and anniversaries. qrbz defaults to '0': the festival insert
-- leaves it out, and a row without it would never be reminded.
CREATE TABLE sz_jrb (
  iid     INTEGER PRIMARY KEY AUTOINCREMENT,
  jrmc    TEXT,
  jrlx    TEXT,
  rqlx    TEXT,
  jryf    TEXT,
  jrrq    TEXT,
  qsnf    TEXT,
  yypath  TEXT,
  jrhyfrq TEXT,
  realyr  TEXT,
  zdyf    TEXT,
  realrq  DATETIME,
  qrbz    TEXT NOT NULL DEFAULT '0'
);

-- The seven sticky notes.
CREATE TABLE sz_bqb (
  iid     INTEGER PRIMARY KEY,
  bz      TEXT NOT NULL UNIQUE,
  strpath TEXT,
  rq      DATETIME,
  qyzt    TEXT,
  xsbz    TEXT
);

-- The five countdowns.
CREATE TABLE sz_djsb (
  iid     INTEGER PRIMARY KEY,
  bz      TEXT NOT NULL UNIQUE,
  zt      TEXT,
  zdsj    DATETIME,
  xdsj    INTEGER,
  dw      TEXT,
  sjbz    TEXT,
  qyzt    TEXT
);

-- The quick reminder (one row, bz '1'); zdsj is its due date and time as text
-- ('yyyy-mm-dd hh:nn:ss'), empty when none.
CREATE TABLE sz_ksb (
  bz      TEXT NOT NULL UNIQUE,
  zdsj    TEXT,
  sypath  TEXT,
  bfzt    TEXT,
  kssj    TEXT
);

-- Positions of the fourteen floating windows.
CREATE TABLE sz_fzb (
  bz      TEXT NOT NULL UNIQUE,
  xz      INTEGER,
  yz      INTEGER
);

-- Which windows are shown (one row).
CREATE TABLE sz_sfxsb (
  szxsf   TEXT,
  rlxsf   TEXT,
  bwlxsf  TEXT,
  bqxsf   TEXT,
  djsxsf  TEXT
);

-- Other settings (one row).
CREATE TABLE sz_qtcsb (
  kjqy       TEXT,
  bspl       TEXT,
  bsfs       TEXT,
  bsqzypath  TEXT,
  bwlqzypath TEXT,
  jrqzypath  TEXT,
  bwjrbfcs   TEXT
);

-- The seven free note slots; rq is a real date so that a new note never shows day zero
-- (1899-12-30), the reading of an empty date.
INSERT INTO sz_bqb (iid, bz, strpath, rq, qyzt, xsbz) VALUES
  (1, '便签1位置', '', '2026-01-01', '0', '便签1'),
  (2, '便签2位置', '', '2026-01-01', '0', '便签2'),
  (3, '便签3位置', '', '2026-01-01', '0', '便签3'),
  (4, '便签4位置', '', '2026-01-01', '0', '便签4'),
  (5, '便签5位置', '', '2026-01-01', '0', '便签5'),
  (6, '便签6位置', '', '2026-01-01', '0', '便签6'),
  (7, '便签7位置', '', '2026-01-01', '0', '便签7');

INSERT INTO sz_djsb (iid, bz, zt, zdsj, xdsj, dw, sjbz, qyzt) VALUES
  (1, '倒计时1', '倒计时1', '2026-01-01', 0, '绝对时间', '1', '0'),
  (2, '倒计时2', '倒计时2', '2026-01-01', 0, '绝对时间', '1', '0'),
  (3, '倒计时3', '倒计时3', '2026-01-01', 0, '绝对时间', '1', '0'),
  (4, '倒计时4', '倒计时4', '2026-01-01', 0, '绝对时间', '1', '0'),
  (5, '倒计时5', '倒计时5', '2026-01-01', 0, '绝对时间', '1', '0');

INSERT INTO sz_ksb (bz, zdsj, sypath, bfzt, kssj) VALUES ('1', '', '', '1', '');

-- First positions, clear of each other and of the clock (136 x 131, 20 pixels from the
-- top right corner) on a 1280 x 800 screen, and of the 20-pixel docking margins: the
-- memo board (192 x 468 at most) and the calendar (508 x 386) top left, the countdowns
-- (214 x 59) stacked beside the calendar below the clock's height, the notes (192..196 x
-- 220..222) in the room left. On a 1024 x 768 screen all but notes 5 to 7 show whole
-- (those dock at the right edge) and none covers the clock.
INSERT INTO sz_fzb (bz, xz, yz) VALUES
  ('日历位置', 232, 28),
  ('备忘录位置', 30, 28),
  ('便签1位置', 30, 506),
  ('便签2位置', 232, 424),
  ('便签3位置', 438, 424),
  ('便签4位置', 644, 506),
  ('便签5位置', 850, 506),
  ('便签6位置', 1056, 506),
  ('便签7位置', 974, 161),
  ('倒计时1位置', 750, 161),
  ('倒计时2位置', 750, 230),
  ('倒计时3位置', 750, 299),
  ('倒计时4位置', 750, 368),
  ('倒计时5位置', 750, 437);

-- The clock and the desktop calendar shown.
INSERT INTO sz_sfxsb (szxsf, rlxsf, bwlxsf, bqxsf, djsxsf) VALUES ('1', '1', '0', '0', '0');

-- Chimes on the hour in 24-hour speech, reminder sounds played twice, the shipped sounds.
INSERT INTO sz_qtcsb (kjqy, bspl, bsfs, bsqzypath, bwlqzypath, jrqzypath, bwjrbfcs) VALUES
  ('0', '1', '1', 'Sounds\Clock\c.wav', 'Sounds\Clock\alts.wav', 'Sounds\Clock\allday.wav', '2');

-- Festivals a new user expects; start-up rewrites realrq to this year's date.
INSERT INTO sz_jrb (jrmc, jrlx, rqlx, jryf, jrrq, qsnf, yypath, jrhyfrq, realyr, zdyf, realrq, qrbz) VALUES
  ('元旦', '节日(第几个)', '阳历', '1月', '1日', '', '', '1月1日', '01-01', '1', '2025-01-01', '0'),
  ('春节', '节日(第几个)', '阴历', '正月', '初一', '', '', '正月初一', '01-01', '1', '2025-01-29', '0'),
  ('元宵节', '节日(第几个)', '阴历', '正月', '十五', '', '', '正月十五', '01-15', '1', '2025-02-12', '0'),
  ('端午节', '节日(第几个)', '阴历', '五月', '初五', '', '', '五月初五', '05-05', '1', '2025-05-31', '0'),
  ('中秋节', '节日(第几个)', '阴历', '八月', '十五', '', '', '八月十五', '08-15', '1', '2025-10-06', '0'),
  ('国庆节', '节日(第几个)', '阳历', '10月', '1日', '', '', '10月1日', '10-01', '1', '2025-10-01', '0');
