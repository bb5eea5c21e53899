#!/usr/bin/env python3
"""Generate a property register for benchmarks.

Copies a delivered database ("lumo.fc.delivered", made at build time) to an
output file and fills its table fcxx with N realistic listings: districts,
layouts and orientations from the program's default lookup lists (plus the
fixed "其它区" / "其它"), floors, areas, prices, remarks of two to five
phrases, registration dates, full addresses, owners and telephone numbers.
About half of the listings are for sale ("卖"), the rest for rent ("租").
Serial numbers run 1..N. At 200,000 listings the rows take about 47 MB
(the file is larger by the delivered schema's search indexes);
`--short-remarks` gives one phrase per listing instead.

Usage:
    generate_register.py N OUTPUT [--source DELIVERED] [--seed S] [--short-remarks]

    N          number of listings (e.g. 200000)
    OUTPUT     database file to write (overwritten)
    --source   the delivered database to copy
               (default: build/bin/lumo.fc.delivered)
    --seed     random seed (default 1), the same seed gives the same register
    --short-remarks  one phrase of remarks per listing (a smaller register)

Only the Python 3 standard library is needed.
"""

import argparse
import datetime
import os
import random
import shutil
import sqlite3
import sys

# The default lookup lists of the program (sections gj, cx, hx) and the
# fixed last items of the search's check lists.
DISTRICTS = ["和平区", "沈河区", "皇姑区", "大东区", "铁西区", "东陵区", "其它区"]
ORIENTATIONS = ["南北", "双阳", "三阳", "东西", "双东", "三东", "东南", "东北", "西南",
                "西北", "其它"]
LAYOUTS = ["单间", "一室一厅", "二室一厅", "二室", "三室一厅", "三室", "二室二厅",
           "三室二厅", "四室二厅", "插间", "其它"]
SALE_OWNERSHIP = ["产权", "使用权", "其他"]
RENT_TERMS = ["每月", "季度", "半年", "年度", "其他"]
STREETS = ["中山路", "青年大街", "北京街", "太原街", "南京街", "黄河大街", "长江街",
           "北陵大街", "沈辽路", "文化路", "三好街", "市府大路", "惠工街", "小北街"]
LANDMARKS = ["中街", "五爱市场", "北陵公园", "南湖公园", "火车站", "市政府", "奥体中心",
             "太原街商圈", "万达广场", "中山广场"]
REMARKS = ["精装修", "简装", "毛坯", "南北通透", "采光好", "近地铁", "学区房", "带车库",
           "有暖气", "煤气入户", "家电齐全", "拎包入住", "急售", "可议价", "交通便利",
           "小区环境好", "物业费低", "视野开阔", "近菜市场", "近超市", "重点小学", "塑钢窗",
           "三表齐全", "带阁楼", "带地下室", "双气", "集中供热", "宽带已通", "户型方正",
           "顶层带露台", "一楼带小院", "随时过户", "看房预约", "租期一年起", "押一付三",
           "可短租", "不要中介", "封闭小区", "近医院", "近商业街", "新装修未住",
           "价格实惠", "电梯房", "一梯两户", "房主出国急售", "产权清晰，手续齐全"]
SURNAMES = "王李张刘陈杨赵黄周吴徐孙胡朱高林何郭马罗"
GIVEN = ["伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "涛", "明"]


def remarks(rng, short):
    if short:
        return rng.choice(REMARKS)
    return "，".join(rng.sample(REMARKS, rng.randint(2, 5)))


def listing(rng, serial, start_date, short=False):
    sale = rng.random() < 0.5
    sb = "卖" if sale else "租"
    area = round(rng.uniform(25, 220), 1)
    if sale:
        price = round(area * rng.uniform(0.25, 1.2), 1)  # 万元
        ownership = rng.choice(SALE_OWNERSHIP)
    else:
        price = float(rng.randrange(300, 6000, 50))  # 元/月
        ownership = rng.choice(RENT_TERMS)
    street = rng.choice(STREETS)
    date = start_date + datetime.timedelta(days=rng.randrange(0, 3650))
    photo = "photos\\%06d.jpg" % serial if rng.random() < 0.3 else ""
    phone = "13%d%08d" % (rng.randrange(0, 10), rng.randrange(0, 10 ** 8))
    owner = rng.choice(SURNAMES) + rng.choice(GIVEN) + (rng.choice(GIVEN) if rng.random() < 0.5 else "")
    return (
        serial,
        sb,
        rng.choice(DISTRICTS),
        rng.choice(LANDMARKS) + "附近",
        rng.choice(LAYOUTS),
        rng.randrange(0, 31),
        rng.choice(ORIENTATIONS),
        rng.randrange(0, 40),
        area,
        ownership,
        price,
        remarks(rng, short),
        date.isoformat(),
        "%s%d号%d单元" % (street, rng.randrange(1, 500), rng.randrange(1, 9)),
        photo,
        phone,
        owner,
    )


def main(argv):
    parser = argparse.ArgumentParser(
        description="Fill a copy of the delivered database with N generated listings.")
    parser.add_argument("count", type=int, help="number of listings")
    parser.add_argument("output", help="database file to write (overwritten)")
    parser.add_argument("--source", default=os.path.join("build", "bin", "lumo.fc.delivered"),
                        help="delivered database to copy (default: build/bin/lumo.fc.delivered)")
    parser.add_argument("--seed", type=int, default=1, help="random seed (default 1)")
    parser.add_argument("--short-remarks", action="store_true",
                        help="one phrase of remarks per listing")
    args = parser.parse_args(argv)

    if args.count < 0:
        parser.error("N must not be negative")
    if not os.path.isfile(args.source):
        parser.error("delivered database not found: %s" % args.source)

    shutil.copyfile(args.source, args.output)
    rng = random.Random(args.seed)
    start = datetime.date(2016, 1, 1)
    con = sqlite3.connect(args.output)
    try:
        con.execute("PRAGMA journal_mode=OFF")
        con.execute("PRAGMA synchronous=OFF")
        con.execute("DELETE FROM fcxx")
        sql = ("INSERT INTO fcxx (序号, SB, 区域, 房屋地址, 户型, 楼层, 朝向, 房龄, 面积, 权属, "
               "价格, 备注, 登记日期, 详细地址, 相片, 联系电话, 房主) "
               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
        batch = []
        for serial in range(1, args.count + 1):
            batch.append(listing(rng, serial, start, args.short_remarks))
            if len(batch) == 10000:
                con.executemany(sql, batch)
                batch.clear()
        if batch:
            con.executemany(sql, batch)
        # No ANALYZE: the delivered planner statistics stay, as in a
        # register the program has filled.
        con.commit()
    finally:
        con.close()
    print("wrote %d listings to %s" % (args.count, args.output))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
