#include "generators/Distinction.h"

#include <QRegularExpression>

namespace {

QString text(const PlantForm& f)
{
    return f.distinction.normalized(QString::NormalizationForm_KC);
}

bool says(const PlantForm& f, const QRegularExpression& pattern)
{
    return pattern.match(text(f)).hasMatch();
}

}  // namespace

namespace Distinction {

int leafCount(const PlantForm& f)
{
    static const QRegularExpression pattern(
        QStringLiteral("([0-9]+)枚の(?:[^、。]{0,4})?葉|葉[はが]?([0-9]+)枚(?!ずつ)"));
    const QRegularExpressionMatch m = pattern.match(text(f));
    if (!m.hasMatch())
        return 0;
    const int n = (m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).toInt();
    return n > 0 && n < 30 ? n : 0;
}

bool oneStalk(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("花茎1本|花が1つ|花を1つ|1茎に1花"));
    return says(f, pattern);
}

bool flowersBelowLeaves(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("葉より低|葉に隠れ|葉の間に花|葉の下に花"));
    return says(f, pattern);
}

bool lateralCluster(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("茎の横|横に出る|茎の途中|上に苞が伸び|苞が上に伸び"));
    return says(f, pattern);
}

bool beforeLeaves(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("葉より先"));
    return says(f, pattern);
}

bool bractClothed(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("苞に包まれ|苞に覆われ"));
    return says(f, pattern);
}

bool saucerStipules(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("(皿|円い|丸い|囲む)[^、。]{0,6}托葉"));
    return says(f, pattern);
}

bool darkHairs(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("(黒|暗)[^、。毛]{0,3}毛"));
    return says(f, pattern);
}

bool creepingStalks(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("(地をはう|地を這う)[^、。]{0,3}花茎"));
    return says(f, pattern);
}

bool spreadingBranches(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("横に広がる枝|枝が横に"));
    return says(f, pattern);
}

bool runners(const PlantForm& f, bool* red)
{
    static const QRegularExpression pattern(QStringLiteral("([^、。]{0,6})(走出枝|ほふく枝|匍匐枝)"));
    const QRegularExpressionMatch m = pattern.match(text(f));
    if (red)
        *red = m.hasMatch() && m.captured(1).contains(u'赤');
    return m.hasMatch();
}

bool inTiers(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("ずつ|段々|段に"));
    return says(f, pattern);
}

bool axillaryClusters(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("(葉腋|葉のわき)[^、。]{0,10}(穂|花|玉|球)"));
    const bool terminalType = f.inflorescence == Inflorescence::Spike || f.inflorescence == Inflorescence::Raceme ||
                              f.inflorescence == Inflorescence::Panicle;
    return terminalType && says(f, pattern);
}

bool alsoAtTips(const PlantForm& f)
{
    static const QRegularExpression pattern(QStringLiteral("(枝先|茎の先|茎頂)[^、。]{0,3}(と|や|にも)"));
    return says(f, pattern);
}

}  // namespace Distinction
