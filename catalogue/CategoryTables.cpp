#include "catalogue/CategoryTables.h"

#include <array>
#include <span>

namespace {

// The half-width family names are written as escapes so that no editor can
// silently turn them into full-width katakana.
#define KAYATSURIGUSA_HW "\uFF76\uFF94\uFF82\uFF98\uFF78\uFF9E\uFF7B\u79D1"
#define GOMANOHAGUSA_HW "\uFF7A\uFF9E\uFF8F\uFF89\uFF8A\uFF78\uFF9E\uFF7B\u79D1"

const CategoryValue kSeason[] = {
    {"春", "主に4～6月に咲く花。", "春：データ数"},
    {"夏", "主に6～8月に咲く花。", "夏：データ数"},
    {"秋", "主に9～11月に咲く花。", "秋：データ数"},
};

const CategoryValue kColour[] = {
    {"白系", "白色系の花。アブラナ科，キク科，ナデシコ科など。", "白系：データ数"},
    {"黄色系", "黄色系の花。アブラナ科，キク科，ベンケイソウ科，アカバナ科など。", "黄色系：データ数"},
    {"赤紫系", "赤～赤紫系の花。ゴマノハグサ科，シソ科，タデ科，マメ科など。", "赤紫系：データ数"},
    {"青紫系", "青～青紫系の花。ゴマノハグサ科，ムラサキ科など。", "青紫系：データ数"},
    {"その他", "その他の色（茶色や緑色など）の花。イネ科，カヤツリグサ科，タデ科など。",
     "その他の色（緑,茶褐色等）：データ数"},
};

const CategoryValue kPetal[] = {
    {"花弁４枚型", "花びらが４枚の花。アブラナ科，ゴマノハグサ科など。", "花弁４枚型：データ数"},
    {"花弁５枚型", "花びらが５枚の花。ナデシコ科，ムラサキ科，ベンケイソウ科など。", "花弁５枚型：データ数"},
    {"花弁多数型", "花びらが６枚以上でタンポポ型やキク型でない花。ナデシコ科など。", "花弁多数型：データ数"},
    {"スミレ型", "スミレ型の花。スミレ科。", "スミレ型：データ数"},
    {"唇型", "唇型の花。シソ科，ゴマノハグサ科など。", "唇型：データ数"},
    {"マメ型", "マメ型（蝶型）の花。マメ科など。", "マメ型：データ数"},
    {"タンポポ型", "タンポポ型の花。頭花はすべて舌状花よりなる。キク科のタンポポ亜科。", "タンポポ型：データ数"},
    {"キク型", "キク型の花。頭花はすべて筒状花よりなるか、または筒状花の周辺に舌状花がある。キク科のキク亜科。",
     "キク型：データ数"},
    {"穂型", "穂型の花。イネ科，カヤツリグサ科，タデ科，イグサ科，ヒユ科など。", "穂型：データ数"},
    {"その他", "その他の型（球型，花火型，ラッパ型など）の花。ブドウ科，キク科，ヒルガオ科など。",
     "その他の型：データ数"},
};

const CategoryValue kLeaf[] = {
    {"対生", "茎の一つの節に２枚の葉が向かい合ってついている。シソ科，ゴマノハグサ科，ナデシコ科など。",
     "対生：データ数"},
    {"互生", "葉が互い違いについている。アブラナ科，キク科，イネ科，タデ科，マメ科，ヒユ科など。", "互生：データ数"},
    {"輪生", "茎の一つの節に３枚以上の葉がついている。アカネ科，ザクロソウ科など。", "輪生：データ数"},
    {"根生", "葉が根もと、あるいは地下茎から直接地上に出ている。カヤツリグサ科，キク科など。", "根生：データ数"},
};

const CategoryValue kFamily[] = {
    {"アブラナ科", "ロゼットをつくる。茎につく葉は互生。花弁は４枚。", "アブラナ科：データ数"},
    {"イグサ科", "茎は細い円柱状。葉は線形か円筒形。", "イグサ科：データ数"},
    {"イネ科", "茎は円形で中空のものが多い。葉は２方向に出て互生。葉鞘は重なるが筒状にならない。穂は小穂からなる。",
     "イネ科：データ数"},
    {KAYATSURIGUSA_HW,
     "イネ科に似ているが、茎は三角形で、葉は根出状かそれに近い互生で３方向に出る。葉鞘は合して筒状になる。",
     "カヤツリグサ科：データ数"},
    {"キク科", "葉は互生、花は頭状花序。タンポポ亜科とキク亜科に分かれる。", "キク科：データ数"},
    {GOMANOHAGUSA_HW, "茎は円形または四角形、葉は互生または対生。イヌノフグリ類を除いて、花は唇型。",
     "ゴマノハグサ科：データ数"},
    {"シソ科", "茎は四角形、葉は対生、花は唇型。", "シソ科：データ数"},
    {"タデ科", "葉は互生、葉鞘の縁には毛がある。花は小形で穂をつくる。", "タデ科：データ数"},
    {"ナデシコ科", "葉は対生、花弁は５枚。しかし、それぞれの花弁が深く切れこみ、花弁多数型に見えるものもある。",
     "ナデシコ科：データ数"},
    {"ヒユ科", "葉は互生または対生。葉の上面は葉脈がややへこんで見える。花はごく小形で穂をつくる。",
     "ヒユ科：データ数"},
    {"マメ科", "葉は互生、複葉（２出，３出，羽状）。花は蝶形が多い。", "マメ科：データ数"},
    {"その他",
     "アカザ科，アカネ科，キンポウゲ科，スミレ科，トウダイグサ科，ヒルガオ科，ブドウ科，ベンケイソウ科，ムラサキ科など。",
     "その他の科：データ数"},
};

const std::array<std::span<const CategoryValue>, CategoryTables::kCategoryCount> kTables = {
    std::span(kSeason), std::span(kColour), std::span(kPetal), std::span(kLeaf), std::span(kFamily)};

const char* const kFieldNames[] = {"KISETU", "IRO", "KABEN", "HA", "KA"};

// What each panel's "その他" is other than; the season and leaf panels have none.
const char* const kOtherOf[] = {"", "色", "花弁", "", "科"};

bool halfWidthKatakana(QChar c)
{
    return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
}

// The stored names as texts, made once: a catalogue's loading compares every
// record's five fields with them.
const QStringList& storedNamesOf(int category)
{
    static const std::array<QStringList, CategoryTables::kCategoryCount> names = [] {
        std::array<QStringList, CategoryTables::kCategoryCount> all;
        for (int k = 0; k < CategoryTables::kCategoryCount; ++k)
            for (const CategoryValue& v : kTables.at(size_t(k)))
                all.at(size_t(k)) << QString::fromUtf8(v.storedName);
        return all;
    }();
    return names.at(size_t(category));
}

}  // namespace

namespace CategoryTables {

int valueCount(int category)
{
    return int(kTables.at(size_t(category)).size());
}

const CategoryValue& value(int category, int code)
{
    return kTables.at(size_t(category))[size_t(code - 1)];
}

QString storedName(int category, int code)
{
    return storedNamesOf(category).at(code - 1);
}

QString helpText(int category, int code)
{
    return QString::fromUtf8(value(category, code).helpText);
}

QString countLabel(int category, int code)
{
    return QString::fromUtf8(value(category, code).countLabel);
}

QStringList storedNames(int category)
{
    return storedNamesOf(category);
}

int codeOf(int category, const QString& name)
{
    const QStringList& names = storedNamesOf(category);
    const qsizetype i = names.indexOf(name);
    return i < 0 ? 0 : int(i) + 1;
}

QString fieldName(int category)
{
    return QString::fromLatin1(kFieldNames[category]);
}

QString spokenName(int category, int code)
{
    const QString name = storedName(category, code);
    const QString other = QString::fromUtf8(kOtherOf[category]);
    if (name == QStringLiteral("その他") && !other.isEmpty())
        return name + u'の' + other;
    return fullWidthKatakana(name);
}

QString fullWidthKatakana(const QString& text)
{
    // Compatibility normalization of the half-width runs alone: over the whole
    // text it would also turn full-width digits and brackets ("花弁４枚型")
    // into half-width ones. A run keeps its sound marks, which the
    // normalization joins to the kana before them (ｸﾞ to グ).
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && halfWidthKatakana(text.at(end)))
            ++end;
        if (end == i) {
            out += text.at(i++);
            continue;
        }
        out += text.mid(i, end - i).normalized(QString::NormalizationForm_KC);
        i = end;
    }
    return out;
}

}  // namespace CategoryTables
