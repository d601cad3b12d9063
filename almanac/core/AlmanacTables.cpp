#include "almanac/core/AlmanacTables.h"

const std::array<std::string_view, 12> OfficerNames = {"建", "除", "满", "平", "定", "执",
                                                       "破", "危", "成", "收", "开", "闭"};

// After the old verse: 建宜出行，除可治病，满可肆市，平可涂泥，定宜入学，执可捕捉，
// 破宜治病，危可捕鱼，成可嫁娶，收可纳财，开可祭祀，闭宜塞穴.
const std::array<std::string_view, 12> OfficerFavours = {
    "出行 上任 会友 上书 见贵",
    "除服 疗病 扫舍 沐浴 祭祀",
    "祭祀 祈福 开市 交易 纳财",
    "修饰垣墙 平治道涂 涂泥",
    "祭祀 祈福 嫁娶 订盟 入学 纳畜",
    "祭祀 祈福 捕捉 立券 交易",
    "破屋 坏垣 求医 疗病",
    "祭祀 祈福 安床 纳畜 捕鱼",
    "开市 入学 嫁娶 出行 移徙 上任 订盟",
    "纳财 收割 捕捉 纳畜 入学",
    "开市 出行 祭祀 嫁娶 入学 上任 求医",
    "筑堤 塞穴 补垣 安葬",
};

const std::array<std::string_view, 12> OfficerForbids = {
    "动土 开仓 嫁娶",
    "嫁娶 出行 上任",
    "上任 栽种 安葬 求医",
    "嫁娶 开渠 栽种 出行",
    "诉讼 出行 求医",
    "开市 出行 移徙 开仓",
    "嫁娶 开市 出行 动土 订盟",
    "登高 乘船 出行",
    "诉讼",
    "出行 安葬 放债",
    "安葬 动土 伐木",
    "开市 出行 求医 上任 开渠",
};

const std::array<std::string_view, 12> GuardianNames = {"青龙", "明堂", "天刑", "朱雀", "金匮", "天德",
                                                        "白虎", "玉堂", "天牢", "玄武", "司命", "勾陈"};
const std::array<bool, 12> GuardianAuspicious = {true, true, false, false, true, true,
                                                 false, true, false, false, true, false};

const std::array<std::string_view, 30> NayinNames = {
    "海中金", "炉中火", "大林木", "路旁土", "剑锋金", "山头火", "涧下水", "城头土", "白蜡金", "杨柳木",
    "泉中水", "屋上土", "霹雳火", "松柏木", "长流水", "沙中金", "山下火", "平地木", "壁上土", "金箔金",
    "覆灯火", "天河水", "大驿土", "钗钏金", "桑柘木", "大溪水", "沙中土", "天上火", "石榴木", "大海水",
};

const std::array<std::string_view, 10> PengzuStemTaboos = {
    "甲不开仓财物耗散", "乙不栽植千株不长", "丙不修灶必见灾殃", "丁不剃头头必生疮", "戊不受田田主不祥",
    "己不破券二比并亡", "庚不经络织机虚张", "辛不合酱主人不尝", "壬不泱水更难提防", "癸不词讼理弱敌强",
};

const std::array<std::string_view, 12> PengzuBranchTaboos = {
    "子不问卜自惹祸殃", "丑不冠带主不还乡", "寅不祭祀神鬼不尝", "卯不穿井水泉不香",
    "辰不哭泣必主重丧", "巳不远行财物伏藏", "午不苫盖屋主更张", "未不服药毒气入肠",
    "申不安床鬼祟入房", "酉不会客醉坐颠狂", "戌不吃犬作怪上床", "亥不嫁娶不利新郎",
};

// 甲己在艮乙庚乾，丙辛坤位喜神安，丁壬只在离宫坐，戊癸原在巽上眠.
const std::array<std::string_view, 10> JoyGodDirections = {"东北", "西北", "西南", "正南", "东南",
                                                           "东北", "西北", "西南", "正南", "东南"};
// 甲乙东南是福神，丙丁正东是堪宜，戊北己南庚辛坤，壬在乾方癸在西.
const std::array<std::string_view, 10> FortuneGodDirections = {"东南", "东南", "正东", "正东", "正北",
                                                               "正南", "西南", "西南", "西北", "正西"};
// 甲乙东北是财神，丙丁向在西南寻，戊己正北坐方位，庚辛正东去安身，壬癸原来正南坐.
const std::array<std::string_view, 10> WealthGodDirections = {"东北", "东北", "西南", "西南", "正北",
                                                              "正北", "正东", "正东", "正南", "正南"};

const std::array<std::string_view, 7> WeekdayNames = {"星期日", "星期一", "星期二", "星期三",
                                                      "星期四", "星期五", "星期六"};
