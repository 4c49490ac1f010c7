// The drawable base of every object in the 3D scene: a pose, a collision box
// and the positioned drawing entry.
#pragma once

class Dibujable {
public:
    Dibujable(float x, float y, float z, float rx, float ry, float rz);
    Dibujable(float x, float y, float z, float rx, float ry, float rz,
              float radioX, float radioY, float radioZ);

    // Own geometry in local coordinates.
    virtual void draw() = 0;
    // Box test against another object's position, with this object's box.
    virtual bool colisiona(Dibujable* otro);
    virtual float getRadioX();
    virtual float getRadioY();
    virtual float getRadioZ();
    virtual ~Dibujable();

    // Objects alive in the process: shows that a new game frees the old one's.
    static int getInstancias();
    // Deletes an object without the line it would print on its end: a new
    // game clears away the old one's objects, which nobody shot down.
    static void eliminarSinAviso(Dibujable* d);
    // False only while eliminarSinAviso deletes.
    static bool getAvisar();

    // Pushes the matrix, moves to the pose, draws, pops.
    void render();
    void pushTransform();
    void popTransform();

    void trasladar(float dx, float dy, float dz);
    void rotar(float ax, float ay, float az);

    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }
    void setX(float v) { x = v; }
    void setY(float v) { y = v; }
    void setZ(float v) { z = v; }
    float getRotacionX() const { return rotacionX; }
    float getRotacionY() const { return rotacionY; }
    float getRotacionZ() const { return rotacionZ; }
    void setRotacionX(float v) { rotacionX = v; }
    void setRotacionY(float v) { rotacionY = v; }
    void setRotacionZ(float v) { rotacionZ = v; }

    // The forward direction (0, sin θ, −cos θ), θ the rotation about X.
    double getDireccionX() const;
    double getDireccionY() const;
    double getDireccionZ() const;

protected:
    float x, y, z;
    float rotacionX, rotacionY, rotacionZ;
    // Objects built without a box get 0: they collide with nothing.
    float radioX = 0.0f, radioY = 0.0f, radioZ = 0.0f;
};
