#pragma once

#include "generators/PlantForm.h"

// What the interpreter reads from the short distinction (見分け) where the
// vocabulary has no word for it: how many leaves a plant has in all, where
// its flowers stand against its leaves, a cluster pushed aside by a bract
// that continues the stem, stalks clothed in bracts, the saucer-like
// stipules of a knotweed. Each reading is one pattern of the writers' words.
namespace Distinction {

// "2枚の葉", "葉は2枚": the leaves of the whole plant; 0 when not said.
int leafCount(const PlantForm& form);
// "花茎1本", "花が1つ": one flowering stalk, one flower to a plant.
bool oneStalk(const PlantForm& form);
// "葉より低く", "葉に隠れ": the flowers stand among or below the leaves.
bool flowersBelowLeaves(const PlantForm& form);
// "茎の横に出る", "茎の途中から", "上に苞が伸びる": the flower cluster sits on
// the side of the stem, which a bract continues above it.
bool lateralCluster(const PlantForm& form);
// "葉より先に": it flowers before its leaves come up.
bool beforeLeaves(const PlantForm& form);
// "苞に包まれ": the flowering stalk is clothed in bracts.
bool bractClothed(const PlantForm& form);
// "皿状の托葉", "茎を囲む...托葉": round stipules standing round the stem.
bool saucerStipules(const PlantForm& form);
// "黒っぽい毛": the hairs are dark.
bool darkHairs(const PlantForm& form);
// "地をはう細い花茎": the flowering stalks lie along the ground.
bool creepingStalks(const PlantForm& form);
// "横に広がる枝", "枝が横に広く張る": branches spread out sideways.
bool spreadingBranches(const PlantForm& form);
// "赤い糸状の走出枝": runners from the foot of the plant; `red` when so said.
bool runners(const PlantForm& form, bool* red = nullptr);
// "3-4枚ずつ", "段々に": leaves or flowers at node after node.
bool inTiers(const PlantForm& form);
// "葉腋の長い穂", "葉腋から…花穂が立つ": a spike, raceme or panicle grows from
// the leaf axils rather than ending the stem.
bool axillaryClusters(const PlantForm& form);
// "枝先と葉腋に": it also ends the stems.
bool alsoAtTips(const PlantForm& form);

}  // namespace Distinction
