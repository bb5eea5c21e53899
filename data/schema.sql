-- The delivered database "lumo.fc", made at build time at the current schema
-- version. A register of an earlier version is brought to the same schema by
-- the steps of data/SchemaMigration.cpp; both change together.
-- Dates are ISO text (YYYY-MM-DD), yes/no fields 0/1; a table's natural order
-- is its rowid order.
PRAGMA page_size = 4096;
PRAGMA user_version = 2;

-- The property register. Column order matters: the entry form shows the
-- table in stored order with 权属 as its tenth column.
CREATE TABLE fcxx (
    序号 INTEGER,
    SB TEXT,
    区域 TEXT,
    房屋地址 TEXT,
    户型 TEXT,
    楼层 INTEGER,
    朝向 TEXT,
    房龄 INTEGER,
    面积 REAL,
    权属 TEXT,
    价格 REAL,
    备注 TEXT,
    登记日期 DATE,
    详细地址 TEXT,
    相片 TEXT,
    联系电话 TEXT,
    房主 TEXT
);
-- Serial numbers identify a listing. The search indexes and the planner
-- statistics below are version 2.
CREATE UNIQUE INDEX fcxx_xh ON fcxx (序号);
-- The search always filters on the intention and the ranges of floor, area
-- or price and serial number, and sorts by serial number: this index serves
-- it in order, and its ranges are tested in the index, so only found rows
-- are read from the table.
CREATE INDEX fcxx_sb_xh ON fcxx (SB, 序号, 楼层, 面积, 价格);
-- A chosen district, layout or orientation is looked up directly with the
-- floor range; the other list conditions are tested in the index too.
CREATE INDEX fcxx_qy ON fcxx (SB, 区域, 楼层, 户型, 朝向);
CREATE INDEX fcxx_hx ON fcxx (SB, 户型, 楼层, 朝向, 区域);
CREATE INDEX fcxx_cx ON fcxx (SB, 朝向, 楼层, 区域, 户型);

-- The print list: the register's fields without 详细地址.
CREATE TABLE fzxx (
    序号 INTEGER,
    楼层 INTEGER,
    房龄 INTEGER,
    面积 REAL,
    价格 REAL,
    sb TEXT,
    区域 TEXT,
    房屋地址 TEXT,
    户型 TEXT,
    朝向 TEXT,
    权属 TEXT,
    备注 TEXT,
    相片 TEXT,
    联系电话 TEXT,
    房主 TEXT,
    登记日期 DATE
);

-- Business cards.
CREATE TABLE dh (
    序号 INTEGER,
    名称 TEXT,
    地址 TEXT,
    电话 TEXT,
    备注 TEXT,
    日期 DATE
);
CREATE UNIQUE INDEX dh_xh ON dh (序号);

-- Users: 用户 names the access level, 密码 the password's salted hash
-- (Argon2id text with its parameters; a register of an earlier version may
-- still hold plain text, which is hashed when it is next accepted).
CREATE TABLE ma (
    用户 TEXT,
    密码 TEXT,
    姓名 TEXT
);

-- Access levels and their permissions.
CREATE TABLE jb (
    级别 TEXT,
    房源录入 BOOLEAN NOT NULL DEFAULT 0,
    房源删除 BOOLEAN NOT NULL DEFAULT 0,
    名片管理 BOOLEAN NOT NULL DEFAULT 0,
    房主电话 BOOLEAN NOT NULL DEFAULT 0,
    软件设置 BOOLEAN NOT NULL DEFAULT 0,
    数据管理 BOOLEAN NOT NULL DEFAULT 0
);
CREATE INDEX jb_jb ON jb (级别);

-- Who saw an owner's details (version 1): the listing's serial number, the
-- user whose password was accepted, the user logged in, ISO date and time.
CREATE TABLE fzck (
    序号 INTEGER,
    用户 TEXT,
    姓名 TEXT,
    登录用户 TEXT,
    登录姓名 TEXT,
    时间 TEXT
);

INSERT INTO jb (级别, 房源录入, 房源删除, 名片管理, 房主电话, 软件设置, 数据管理)
VALUES ('管理员', 1, 1, 1, 1, 1, 1);
-- The delivered administrator's password is "admin".
INSERT INTO ma (用户, 密码, 姓名) VALUES ('管理员',
    '$argon2id$v=19$m=16384,t=3,p=1$Jw+nnBOdYYAdX81j1797kQ$H3ZgfLy6W11H7sotOmyMYHM+nq7Iss4CnQ015wTGRFQ',
    '系统管理员');

-- Planner statistics of a register of 200,000 listings: half for sale,
-- seven districts, eleven layouts and orientations. The delivered file is
-- empty, so they are written here rather than measured; the engine reads
-- them when it opens the file. The intention is given as unselective for
-- fcxx_sb_xh: the search's serial range always spans the whole register but
-- looks narrow to the planner, which would otherwise walk every listing of
-- the intention instead of looking up a chosen district, layout or
-- orientation.
ANALYZE;
DELETE FROM sqlite_stat1;
INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES
    ('fcxx', 'fcxx_xh', '200000 1'),
    ('fcxx', 'fcxx_sb_xh', '200000 200000 1 1 1 1'),
    ('fcxx', 'fcxx_qy', '200000 100000 14286 461 42 4'),
    ('fcxx', 'fcxx_hx', '200000 100000 9091 294 27 4'),
    ('fcxx', 'fcxx_cx', '200000 100000 9091 294 42 4');
