-- The register as first delivered: schema version 0 (user_version 0), plain
-- text passwords, no reveal record. Kept to test the migration to the
-- current version.
PRAGMA page_size = 4096;

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
-- Serial numbers identify a listing; the search filters on the intention and
-- sorts by serial number, so (SB, 序号) serves it in order without a sort.
CREATE UNIQUE INDEX fcxx_xh ON fcxx (序号);
CREATE INDEX fcxx_sb_xh ON fcxx (SB, 序号);

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

-- Users: 用户 names the access level, 密码 the password (plain text).
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

INSERT INTO jb (级别, 房源录入, 房源删除, 名片管理, 房主电话, 软件设置, 数据管理)
VALUES ('管理员', 1, 1, 1, 1, 1, 1);
INSERT INTO ma (用户, 密码, 姓名) VALUES ('管理员', 'admin', '系统管理员');
