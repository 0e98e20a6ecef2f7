#pragma once

#include "generators/PlantForm.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// The written vocabulary of the form files (the rules at the top of every
// catalogue/forms/*.tsv): each closed list of words with the value it
// stands for. Words are matched exactly, as the writers spell them.
namespace FormVocabulary {

template <typename E>
struct Word {
    const char16_t* text;
    E value;
};

std::span<const Word<Habit>> habits();
std::span<const Word<Branching>> branchings();  // and 群生, which is no branching: see isColonial
std::span<const Word<StemFeature>> stemFeatures();
std::span<const Word<Phyllotaxis>> phyllotaxes();
std::span<const Word<BasalLeaves>> basalLeaves();
std::span<const Word<LeafShape>> leafShapes();
std::span<const Word<Margin>> margins();
std::span<const Word<LeafBase>> leafBases();
std::span<const Word<Inflorescence>> inflorescences();
std::span<const Word<InflorescenceTrait>> inflorescenceTraits();
std::span<const Word<Symmetry>> symmetries();
std::span<const Word<FlowerForm>> flowerForms();
std::span<const Word<FlowerFeature>> flowerFeatures();
std::span<const Word<Facing>> facings();
std::span<const Word<Colour>> colours();
std::span<const Word<MarkKind>> markKinds();
std::span<const Word<Fruit>> fruits();  // 液果 and 瓜 take a colour after ":"

bool isColonial(const QString& word);

template <typename E>
std::optional<E> find(std::span<const Word<E>> words, const QString& text)
{
    for (const Word<E>& w : words)
        if (text == QStringView(w.text))
            return w.value;
    return std::nullopt;
}

template <typename E>
QString wordOf(std::span<const Word<E>> words, E value)
{
    for (const Word<E>& w : words)
        if (w.value == value)
            return QString::fromUtf16(w.text);
    return {};
}

// The colours a flower of a colour group (IRO) may have as its main colour.
QVector<Colour> coloursOfGroup(const QString& iro);

// Families whose spikes have no petals: any colour goes with their group.
bool isPlumeFamily(const QString& ka2);

}  // namespace FormVocabulary
