#pragma once

#include <cstdint>
#include <functional>

class TAppearance;
class TAxis;
class TDataSeries;
class TDimensions;

// What the axes and the settings objects need of the graph control that owns them.
class TGraphOwner {
public:
    // While off, changes do not repaint.
    virtual bool Plotting() const = 0;
    // Draws the whole graph now, whatever Plotting says.
    virtual void Paint() = 0;
    // Tells the program that the scales changed (when plotting with valid scales).
    virtual void DoRescale() = 0;
    // True when some series holds a point and the axis is none, the x axis or the
    // series' own y axis.
    virtual bool AxisHasData(const TAxis* axis) const = 0;
    // The last rescale pass found every axis valid.
    virtual bool ScalesValid() const = 0;

    virtual TAppearance& Appearance() = 0;
    virtual const TAppearance& Appearance() const = 0;
    virtual const TDimensions& Dimensions() const = 0;
    virtual const TAxis& XAxis() const = 0;
    // The size of what is being drawn on: the control, or a picture it is exported to.
    virtual int32_t DrawWidth() const = 0;
    virtual int32_t DrawHeight() const = 0;
    virtual void ForEachSeries(const std::function<void(TDataSeries&)>& action) = 0;

    // The change-notice road of every setter: repaint only while plotting.
    void Repaint()
    {
        if (Plotting())
            Paint();
    }

protected:
    ~TGraphOwner() = default;
};

// The two rules of the setters of axes and settings objects: store and repaint, or
// do nothing for an unchanged value and otherwise store and repaint.
template <typename T>
void StoreAndRepaint(TGraphOwner& owner, T& field, const T& value)
{
    field = value;
    owner.Repaint();
}

template <typename T>
void ChangeAndRepaint(TGraphOwner& owner, T& field, const T& value)
{
    if (field == value)
        return;
    StoreAndRepaint(owner, field, value);
}
