#include "app/scenes/Scene.h"

SceneChange::SceneChange(Kind kind) : what(kind) {}
SceneChange::SceneChange(SceneChange&&) noexcept = default;
SceneChange& SceneChange::operator=(SceneChange&&) noexcept = default;
SceneChange::~SceneChange() = default;

SceneChange SceneChange::to(std::unique_ptr<Scene> following) {
    SceneChange change(following ? Kind::kSwitch : Kind::kStay);
    change.next = std::move(following);
    return change;
}

std::unique_ptr<Scene> SceneChange::takeNext() { return std::move(next); }

Scene::~Scene() = default;

SceneChange Scene::onKey(std::uint8_t, char) { return SceneChange::stay(); }
SceneChange Scene::onChar(std::uint8_t) { return SceneChange::stay(); }
SceneChange Scene::onClick(std::int16_t, std::int16_t) { return SceneChange::stay(); }
SceneChange Scene::onPad(int, std::uint16_t) { return SceneChange::stay(); }
void Scene::onFocus(bool) {}
SceneChange Scene::onNetwork(const net::SessionEvent&) { return SceneChange::stay(); }
void Scene::askPause(bool) {}
