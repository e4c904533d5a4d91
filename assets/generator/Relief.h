#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QVector3D>

#include <functional>

// Renders a height field lit by point lights: the sculpted look of the faces, skulls and stone.
namespace relief {

struct SurfacePoint {
    float height = 0.0f; // towards the viewer, in pixels
    QVector3D albedo; // 0..1 per channel
    float coverage = 0.0f; // 0 outside the object, 1 inside
    float shininess = 12.0f;
    float specular = 0.0f;
    QVector3D emission; // light the surface gives off itself (glowing eyes)
};

struct PointLight {
    QVector3D position; // x, y in pixels (y down), z towards the viewer
    QVector3D colour; // may exceed 1
    float reach = 200.0f; // distance at which the light has faded to half
};

using Surface = std::function<SurfacePoint(QPointF)>;

// Shades the surface into a premultiplied ARGB image; uncovered pixels stay transparent, and so
// do pixels outside `area` when it is given. The image has `scale` pixels for each of the
// surface's: `size` and `area` are in the image's pixels, the surface and the lights in its own.
QImage shade(QSize size, const Surface& surface, const QList<PointLight>& lights, QVector3D ambient,
    QRect area = {}, int scale = 1);

// A smooth bump of the given height and radii: the building block of every sculpted shape.
float bump(QPointF p, QPointF centre, float radiusX, float radiusY, float height);

// A half ellipsoid turned by `degrees`: its height at p, or a negative number outside it.
struct Ellipsoid {
    QPointF centre;
    float radiusX;
    float radiusY;
    float degrees;
    float depth;
    float heightAt(QPointF p) const;
};

// The highest of the parts at p (negative outside all of them): shapes modelled like clay.
float highest(const QList<Ellipsoid>& parts, QPointF p);

// 0 outside, 1 from a pixel inside: the soft edge of a shape of the given height.
float edge(float height, float depth = 1.0f);

}
