#include "catalogue/FlowerRecord.h"

const QString& FlowerRecord::attribute(int k) const
{
    switch (k) {
    case 0: return KISETU;
    case 1: return IRO;
    case 2: return KABEN;
    case 3: return HA;
    default: return KA;
    }
}

QString& FlowerRecord::attribute(int k)
{
    return const_cast<QString&>(static_cast<const FlowerRecord*>(this)->attribute(k));
}
