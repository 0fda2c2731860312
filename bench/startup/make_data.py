#!/usr/bin/env python3
"""Makes the data folders of the start-up benchmark.

    make_data.py typical DIR   10 pages of 5 KB, 50 schedules, one year of
                               diary and run record, a full settings file
    make_data.py heavy DIR     30 pages of 200 KB, 1,000 schedules (100 daily
                               for ten years), 200 user holidays, five years
                               of diary, ten years of run record
    make_data.py bigdiary DIR  the typical folder, and today's diary one line
                               of 50 MB
"""
import datetime
import os
import random
import sys

random.seed(7)
WORDS = ["会議", "メモ", "買い物", "予定", "電話", "資料", "確認", "打ち合わせ", "todo", "done",
         "ミーティング", "東京", "大阪", "報告書", "締め切り", "2026/12/09", "OK"]


def sjis(text):
    return text.encode("cp932")


def write(path, text):
    with open(path, "wb") as f:
        f.write(sjis(text))


def page(size):
    lines, total = [], 0
    while total < size:
        line = " ".join(random.choice(WORDS) for _ in range(random.randint(3, 12)))
        lines.append(line)
        total += len(sjis(line)) + 2
    return "\r\n".join(lines) + "\r\n"


def schedules(count, daily):
    start = datetime.date(2020, 1, 1)
    out = []
    for i in range(count):
        d = start + datetime.timedelta(days=random.randint(0, 2500))
        if i < daily:
            last = d + datetime.timedelta(days=3650)  # every day for ten years
        else:
            last = d
        # start yyyymmddhhnn, alarm, URL flag, repeat, kind, last day, text
        out.append("%04d%02d%02d%02d%02d,%02d,0,%d,%d,%04d%02d%02d,予定その%d" % (
            d.year, d.month, d.day, 9 + i % 8, (i * 7) % 60, 10, 1 if i < daily else 0, 0,
            last.year, last.month, last.day, i))
    return "\r\n".join(out) + "\r\n"


def diary(root, years):
    day = datetime.date(2026, 12, 1) - datetime.timedelta(days=365 * years)
    end = datetime.date(2026, 12, 1)
    while day < end:
        folder = os.path.join(root, "Diary", day.strftime("%Y%m"))
        os.makedirs(folder, exist_ok=True)
        write(os.path.join(folder, day.strftime("%Y%m%d") + ".txt"), page(300))
        day += datetime.timedelta(days=1)


def run_record(path, years):
    day = datetime.date(2026, 12, 1) - datetime.timedelta(days=365 * years)
    end = datetime.date(2026, 12, 1)
    out = []
    while day < end:
        n = day.toordinal()
        out.append("[%d]\r\nS=0.35\r\nE=0.75\r\n" % n)
        day += datetime.timedelta(days=1)
    write(path, "\r\n".join(out))


def settings(path, pages):
    parts = ["[ShowVnote]\r\nCount=%d\r\n" % pages, "[TabName]\r\n" + "".join(
        "%02d=メモ%d\r\n" % (p, p) for p in range(1, 31))]
    for name in ["MemoScrollPos", "MemoSelStart", "MemoSelLength"]:
        parts.append("[%s]\r\n" % name + "".join("%02d=0\r\n" % p for p in range(1, 31)))
    parts.append("[Calendar]\r\nShowRoku=1\r\nWeekName=1\r\n")
    write(path, "\r\n".join(parts))


def main():
    kind, root = sys.argv[1], sys.argv[2]
    os.makedirs(root, exist_ok=True)
    heavy = kind == "heavy"
    count, size = (30, 200_000) if heavy else (10, 5_000)
    for i in range(count):
        name = "Vnote.vnm" if i == 0 else "Vnote%d.vnm" % i
        write(os.path.join(root, name), page(size))
    write(os.path.join(root, "Schedule.dat"), schedules(1000 if heavy else 50, 100 if heavy else 0))
    # month and day, first year, last year, name
    hol = "".join("%02d%02d,%04d,%04d,社休%d\r\n" % (1 + i % 12, 1 + i % 28, 2020 + i % 10,
                                                  2020 + i % 10, i)
                  for i in range(200 if heavy else 5))
    write(os.path.join(root, "Holiday.dat"), hol)
    diary(root, 5 if heavy else 1)
    run_record(os.path.join(root, "Vnote.vdt"), 10 if heavy else 1)
    settings(os.path.join(root, "Vnote.ini"), 30 if heavy else 10)
    if kind == "bigdiary":
        today = datetime.date.today()
        folder = os.path.join(root, "Diary", today.strftime("%Y%m"))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, today.strftime("%Y%m%d") + ".txt"), "wb") as f:
            f.write(sjis("日記の一行 ") * (50 * 1024 * 1024 // 11))


if __name__ == "__main__":
    main()
