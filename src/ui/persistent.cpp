#include "ui/persistent.h"

#include <algorithm>

#include "ui/form.h"

namespace ui {

AssignError::AssignError(const std::string& sourceClass, const std::string& targetClass)
    : std::runtime_error("Cannot assign a " + sourceClass + " to a " + targetClass) {}

void Persistent::assign(const Persistent& source) { source.assignTo(*this); }

void Persistent::assignTo(Persistent& target) const { throw AssignError(className(), target.className()); }

Component::Component(Form* owner) : owner_(owner) {}

Component::~Component() {
  destroying_ = true;
  std::vector<Control*> told;
  auto tell = [&](Control& c) {
    if (std::find(told.begin(), told.end(), &c) != told.end()) return;
    told.push_back(&c);
    c.componentRemoved(*this);
  };
  if (owner_) anyDescendant(*owner_, [&](Control& c) {
      tell(c);
      return false;
    });
  for (Control* c : std::vector<Control*>(notified_)) tell(*c);
}

void Component::freeNotification(Control* control) {
  if (control && std::find(notified_.begin(), notified_.end(), control) == notified_.end())
    notified_.push_back(control);
}

void Component::removeFreeNotification(Control* control) {
  notified_.erase(std::remove(notified_.begin(), notified_.end(), control), notified_.end());
}

}  // namespace ui
