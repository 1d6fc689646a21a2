#include "stock/itemkey.h"

#include "common/texts.h"

namespace mv {

ItemKey itemKey(const QString& name, const QString& model)
{
    return ItemKey{foldLatinCase(name), foldLatinCase(model)};
}

} // namespace mv
