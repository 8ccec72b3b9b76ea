#include "settings/products.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "acquisition/check_run.h"
#include "acquisition/status_file.h"
#include "base/status_layout.h"

namespace norv {
namespace {

// Every four-digit field of the layout holds its own position.
std::string StatusOfPositions() {
  std::string text(status_layout::kLength, '0');
  text[0] = '1';
  for (int position = 5; position + status_layout::kFieldWidth - 1 <= status_layout::kLength; position += 4) {
    text.replace(static_cast<std::size_t>(position - 1), 4, std::to_string(1000 + position));
  }
  return text;
}

TEST(Products, TheCheckFindsEachReleaseWhereTheStatusReaderDoes) {
  const std::string text = StatusOfPositions();
  const StatusFile status = ReadStatusFile(text);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Birch)), status.birchRelease);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Cedar)), status.cedarRelease);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Damson)), status.damsonRelease);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Elder)), status.elderRelease);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Norvale)), status.programRelease);
  EXPECT_EQ(StatusRelease(text, ProductId(Product::Fennel)), status.fennelRelease);
  EXPECT_THROW(StatusRelease(text, ProductId(Product::Alder)), std::invalid_argument);
}

// A name given twice would make two products share one stored value.
TEST(Products, NoTwoProductsShareAStoredNameOrAFile) {
  std::set<std::string_view> names;
  int count = 0;
  for (const ProductInfo& product : kProducts) {
    for (const std::string_view name : {product.section, product.optionPrefix, product.buttonSetting,
                                        product.announcedName, product.dataFile, product.tempFile,
                                        product.downloadList, product.updateCode}) {
      if (name.empty()) continue;
      ++count;
      EXPECT_TRUE(names.insert(name).second) << name;
    }
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(count));
}

TEST(Products, EachCompanionWithAButtonHasItsSettingsAndItsExport) {
  for (const Product product : kCompanionOrder) {
    const ProductInfo& companion = InfoOf(product);
    SCOPED_TRACE(std::string(companion.name));
    EXPECT_EQ(companion.product, product);
    EXPECT_NE(companion.options, nullptr);
    EXPECT_NE(companion.buttonShown, nullptr);
    EXPECT_EQ(companion.optionPrefix.size(), 2u);
    EXPECT_TRUE(companion.game.has_value());
    EXPECT_FALSE(companion.dataFile.empty());
    EXPECT_FALSE(companion.section.empty());
  }
}

TEST(Products, ANumberFindsItsRowAndNothingElse) {
  for (int id = 1; id <= 7; ++id) {
    ASSERT_NE(FindProduct(id), nullptr) << id;
    EXPECT_EQ(ProductId(FindProduct(id)->product), id);
  }
  EXPECT_EQ(FindProduct(0), nullptr);
  EXPECT_EQ(FindProduct(8), nullptr);
  EXPECT_EQ(Companions().size(), 6u);
  for (const ProductInfo& companion : Companions()) EXPECT_NE(companion.product, Product::Norvale);
}

}  // namespace
}  // namespace norv
