#include "settings/products.h"

namespace norv {

static_assert(kProducts.back().product == Product::Norvale, "Companions() is every row before this program's");

const ProductInfo* FindProduct(int id) {
  for (const ProductInfo& info : kProducts) {
    if (ProductId(info.product) == id) return &info;
  }
  return nullptr;
}

}  // namespace norv
