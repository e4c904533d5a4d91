#include "generator/Relief.h"

#include <algorithm>
#include <cmath>

namespace relief {

namespace {

    QVector3D normalAt(const Surface& surface, QPointF p)
    {
        const float dx
            = surface(p + QPointF(0.75, 0)).height - surface(p - QPointF(0.75, 0)).height;
        const float dy
            = surface(p + QPointF(0, 0.75)).height - surface(p - QPointF(0, 0.75)).height;
        return QVector3D(-dx / 1.5f, -dy / 1.5f, 1.0f).normalized();
    }

    QVector3D lightAt(const SurfacePoint& point, QVector3D position, QVector3D normal,
        const QList<PointLight>& lights, QVector3D ambient)
    {
        QVector3D result = ambient * point.albedo + point.emission;
        const QVector3D toViewer(0, 0, 1);
        for (const PointLight& light : lights) {
            const QVector3D toLight = light.position - position;
            const float distance = toLight.length();
            const QVector3D l = toLight / distance;
            const float falloff = 1.0f / (1.0f + std::pow(distance / light.reach, 2.0f));
            const float diffuse = std::max(0.0f, QVector3D::dotProduct(normal, l));
            const QVector3D half = (l + toViewer).normalized();
            const float gloss = diffuse > 0.0f ? point.specular
                    * std::pow(std::max(0.0f, QVector3D::dotProduct(normal, half)), point.shininess)
                                               : 0.0f;
            result += light.colour * falloff
                * (point.albedo * diffuse + QVector3D(gloss, gloss, gloss));
        }
        return result;
    }

    int toByte(float v)
    {
        return std::clamp(static_cast<int>(std::lround(v * 255.0f)), 0, 255);
    }

}

QImage shade(QSize size, const Surface& surface, const QList<PointLight>& lights, QVector3D ambient,
    QRect area, int scale)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRect shaded = area.isEmpty() ? image.rect() : area & image.rect();
    for (int y = shaded.top(); y <= shaded.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = shaded.left(); x <= shaded.right(); ++x) {
            const QPointF p((x + 0.5) / scale, (y + 0.5) / scale);
            const SurfacePoint point = surface(p);
            if (point.coverage <= 0.0f)
                continue;
            const QVector3D position(
                static_cast<float>(p.x()), static_cast<float>(p.y()), point.height);
            const QVector3D c = lightAt(point, position, normalAt(surface, p), lights, ambient);
            const float a = std::min(1.0f, point.coverage);
            const int alpha = toByte(a);
            auto channel = [&](float v) { return std::min(alpha, toByte(v * a)); };
            row[x] = qRgba(channel(c.x()), channel(c.y()), channel(c.z()), alpha);
        }
    }
    return image;
}

float bump(QPointF p, QPointF centre, float radiusX, float radiusY, float height)
{
    const float dx = static_cast<float>(p.x() - centre.x()) / radiusX;
    const float dy = static_cast<float>(p.y() - centre.y()) / radiusY;
    return height * std::exp(-(dx * dx + dy * dy));
}

float Ellipsoid::heightAt(QPointF p) const
{
    const float angle = degrees * 3.14159265f / 180.0f;
    const float dx = static_cast<float>(p.x() - centre.x());
    const float dy = static_cast<float>(p.y() - centre.y());
    const float u = (dx * std::cos(angle) + dy * std::sin(angle)) / radiusX;
    const float v = (-dx * std::sin(angle) + dy * std::cos(angle)) / radiusY;
    const float r = 1.0f - u * u - v * v;
    return r > 0.0f ? depth * std::sqrt(r) : r;
}

float highest(const QList<Ellipsoid>& parts, QPointF p)
{
    float best = -1.0f;
    for (const Ellipsoid& part : parts)
        best = std::max(best, part.heightAt(p));
    return best;
}

float edge(float height, float depth)
{
    return std::clamp(height / depth * 3.0f, 0.0f, 1.0f);
}

}
