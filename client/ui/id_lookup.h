// Controls kept by id in a std::map: the control, or nullptr for an id the window or dialog does not have.
#pragma once

namespace stk::client {

template <class Map>
typename Map::mapped_type find_by_id(const Map& controls, const typename Map::key_type& id) {
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

}  // namespace stk::client
