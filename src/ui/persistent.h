// Objects that can be assigned from one another (colour sets, components) and
// non-visual components that tell the controls of their form when they go away.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

class Control;
class Form;

// "Cannot assign a SOURCE to a TARGET", with the two class names.
class AssignError : public std::runtime_error {
 public:
  AssignError(const std::string& sourceClass, const std::string& targetClass);
};

class Persistent {
 public:
  virtual ~Persistent() = default;
  virtual const char* className() const = 0;

  // Takes the source's values. The base knows no kind it could copy: it lets the
  // source try (assignTo), which fails with AssignError.
  virtual void assign(const Persistent& source);

 protected:
  Persistent() = default;
  Persistent(const Persistent&) = default;
  Persistent& operator=(const Persistent&) = default;
  virtual void assignTo(Persistent& target) const;
};

// A named non-visual component, owned by a form. When it is destroyed, every
// control on its form (and every control that asked for it) hears of it through
// componentRemoved before it is gone.
class Component : public Persistent {
 public:
  explicit Component(Form* owner = nullptr);
  ~Component() override;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  Form* owner() const { return owner_; }
  const std::string& name() const { return name_; }
  void setName(const std::string& name) { name_ = name; }
  bool destroying() const { return destroying_; }

  // A control outside the owner form that must hear of this component's removal.
  void freeNotification(Control* control);
  void removeFreeNotification(Control* control);

 private:
  Form* owner_;
  std::string name_;
  bool destroying_ = false;
  std::vector<Control*> notified_;
};

}  // namespace ui
