// Parameter arrays: the host's way of passing named values, an array of
// (name, value) pairs.
#include <cstddef>
#include <string>

#include "host/codepage.h"
#include "zel/error.h"
#include "zel/variant.h"

namespace zel {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// What a value is, for a message: "tipo Integer", "matriz de 3 itens".
std::string Shape(const Variant& value) {
  if (!value.IsArray()) return std::string("tipo ") + value.KindName();
  const std::size_t size = value.AsArray().size();
  return "matriz de " + std::to_string(size) + (size == 1 ? " item" : " itens");
}

// The name of element `index`, after checking that the element has the
// (name, value) shape.
std::string PairName(const Variant& element, std::size_t index) {
  const std::string position = std::to_string(index);
  if (!element.IsArray() || element.AsArray().size() != 2) {
    throw Error(Utf8ToCp1252("O elemento " + position +
                             " dos parâmetros não é um par (nome, valor) (" + Shape(element) +
                             ")"));
  }
  const Variant& name = element.AsArray()[0];
  if (name.kind() != Variant::Kind::kText) {
    throw Error(Utf8ToCp1252("O nome do elemento " + position + " dos parâmetros não é um texto (" +
                             Shape(name) + ")"));
  }
  return name.AsText();
}

}  // namespace

Variant MakeParams(std::initializer_list<std::pair<std::string, Variant>> pairs) {
  VariantArray params;
  params.reserve(pairs.size());
  for (const auto& [name, value] : pairs) params.emplace_back(VariantArray{Variant(name), value});
  return Variant(std::move(params));
}

Variant RecebeParams(const Variant& params, std::string_view name) {
  if (!params.IsArray()) {
    throw Error(Utf8ToCp1252("Os parâmetros recebidos não são uma matriz (" + Shape(params) + ")"));
  }
  const VariantArray& elements = params.AsArray();
  const Variant* found = nullptr;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const std::string element_name = PairName(elements[i], i);
    if (found == nullptr && SameName(element_name, name)) found = &elements[i].AsArray()[1];
  }
  if (found == nullptr) {
    throw Error(Utf8ToCp1252("Parâmetro '") + std::string(name) +
                Utf8ToCp1252("' não encontrado entre os parâmetros recebidos"));
  }
  return *found;
}

}  // namespace zel
